#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct ProgramRun {
    int exitCode = -1; // -1 if it did not start or finish normally
    QString out;
    QString err;
};

// Runs a program to its end, stdin closed, and collects what it printed (UTF-8).
ProgramRun
runProgram(const QString& program, const QStringList& arguments,
           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
