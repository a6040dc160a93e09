#pragma once

#include <optional>
#include <string>

namespace jet {

// The lock file the shop program keeps beside a database while it has it open: for
// "X.mdb" it is "X.ldb" (".ldb" appended to a name without an extension). This tool only
// reads it and never creates one.
std::string shopLockFilePathFor(const std::string& databasePath);

// Who holds the database in the shop program, by its lock file: "user\nmachine" of the first
// record naming a machine, an empty text when the lock file exists but cannot be read (it
// must then be taken as in use), nothing when no record names a machine or there is no lock
// file. Records are 64 bytes: the machine name in 32 bytes, then the user name in 32, each
// ANSI text padded with NULs; the names are given as stored, without conversion.
std::optional<std::string> shopProgramUser(const std::string& lockFilePath);

} // namespace jet
