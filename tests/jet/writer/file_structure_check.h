#pragma once

// What the independent checker does not look at, checked on a whole file: every index tree's
// shape (node entries repeating their child's greatest entry, tails, sibling links, stored
// prefixes and free space), every data page's bookkeeping, and the usage maps that say which
// pages a table or index owns and which pages are free.

#include <string>
#include <vector>

// The problems found in the Jet file at path (empty when it is sound).
std::vector<std::string> structureProblems(const std::string& path);
