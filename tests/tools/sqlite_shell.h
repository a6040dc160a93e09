#pragma once

// SQLite's own shell (Debian package sqlite3), run with one of our extensions loaded.

#include "tests/tools/program_run.h"

#include <QString>
#include <QStringList>

#include <string>

// Why the shell cannot be run with our extensions here, or "" when it can.
std::string sqliteShellMissing();

// Runs the shell on database (a file, or ":memory:") with -batch and -bail: .load module
// (a built extension, given as its path; none if empty), then commands, one argument each.
ProgramRun runSqliteShell(const QString& database, const QString& module,
                          const QStringList& commands);
