#pragma once

// The independent checker of Jet files beside the project (built on another Jet library),
// and mdbtools' export, run on a file the way a test needs them.

#include <QString>

#include <optional>

struct CheckerVerdict {
    bool sound = false;
    QString output;
};

// The checker's verdict on path: every index against the rows, row counts, and the password
// when one is given. Nothing where the shared material is absent; the test then says so with
// checkerAbsent().
std::optional<CheckerVerdict> runJetOracle(const QString& path,
                                           const QString& password = QStringLiteral("kd=73"));

// Marks the running test skipped for want of the checker, saying so, or failed under CI.
void checkerAbsent();

// The checker run with a command and its operands: its exit status and what it printed;
// nothing where the shared material is absent.
struct OracleRun {
    int status = -1;
    QString output;
};
std::optional<OracleRun> runOracle(const QStringList& arguments);

// Whether mdbtools reads every row of table (its line count, header excluded), or nothing
// when it fails.
std::optional<int> mdbExportRowCount(const QString& path, const QString& table);
