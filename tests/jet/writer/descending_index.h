#pragma once

// The shop fixtures have only ascending indexes, the shop's own files may have descending
// ones: this turns an index of a copy into one whose first column sorts descending.

#include <QString>

#include <string>
#include <vector>

// Makes the first column of tableName's index over columnNames (in that order), a text
// column, descending in the Jet file at path: the order byte in the table definition, and every
// entry's key with that column's part inverted (all but its last keptBytes, the parts of the
// columns after it), the entries sorted again over the same leaves and as many more as they need
// (taken as the writer takes pages). Handles indexes of one or two levels. Returns what went wrong,
// or "".
std::string makeFirstColumnDescending(const QString& path, const std::u16string& tableName,
                                      const std::vector<std::u16string>& columnNames,
                                      std::size_t keptBytes);
