#pragma once

#include <string>

namespace jet {

// Throws WriteError (ReadOnly) unless a change can be written to the file at path, open as
// fd: the file open for writing, its medium mounted for writing and its folder open to a new
// journal.
void requireWritable(int fd, bool openForWriting, const std::string& path);

// Throws WriteError (InUseByShopProgram) when the shop program's lock file beside path names
// a user, or exists and cannot be read.
void requireNotInShopProgram(const std::string& path);

} // namespace jet
