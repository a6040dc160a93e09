#pragma once

#include "tools/demo_store/demo_request.h"

#include <QString>
#include <QStringList>

namespace makestore {

enum class StoreKind { Demo, Empty };

struct MakeStoreArguments {
    QString path;
    QString password;
    StoreKind kind = StoreKind::Demo;
    demostore::DemoRequest demo;
    QString sqlFile; // empty: no statements to run
};

struct ParseResult {
    enum class Outcome { Run, ShowHelp, UsageError } outcome = Outcome::UsageError;
    MakeStoreArguments arguments;
    QString error;
};

// arguments as QCoreApplication::arguments() gives them, the program name first.
ParseResult parseMakeStoreArguments(const QStringList& arguments);
QString makeStoreUsage();

} // namespace makestore
