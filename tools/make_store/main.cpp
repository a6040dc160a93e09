// make_store: creates a store for trying the tool, filled with demo data or from SQL.

#include "tools/demo_store/store_builder.h"
#include "tools/make_store/make_store_arguments.h"

#include "data/db_error.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cstdio>
#include <optional>

namespace {

enum ExitStatus { kDone = 0, kFailed = 1, kWrongArguments = 2 };

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
}

int fail(const QString& message) {
    print(stderr, QStringLiteral("make_store: %1\n").arg(message));
    return kFailed;
}

// The statements as text; fails on anything but UTF-8, which SQLite would store as
// mojibake rather than refuse.
std::optional<QString> readSqlFile(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read '%1': %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder decode(QStringDecoder::Utf8);
    QString text = decode(bytes);
    if (decode.hasError()) {
        error = QStringLiteral("'%1' is not UTF-8 text").arg(path);
        return std::nullopt;
    }
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    return text;
}

int makeStore(const makestore::MakeStoreArguments& arguments) {
    if (QFileInfo::exists(arguments.path)) {
        return fail(QStringLiteral("'%1' already exists; it is left untouched. Remove it or "
                                   "choose another --path.")
                        .arg(arguments.path));
    }
    QString sql;
    if (!arguments.sqlFile.isEmpty()) {
        QString error;
        const auto text = readSqlFile(arguments.sqlFile, error);
        if (!text) {
            return fail(error);
        }
        sql = *text;
    }
    QElapsedTimer timer;
    timer.start();
    demostore::StoreCounts counts;
    try {
        counts =
            arguments.kind == makestore::StoreKind::Demo
                ? demostore::createDemoStore(arguments.path, arguments.password, arguments.demo)
                : demostore::createStoreFromSql(arguments.path, arguments.password, sql);
    } catch (const platform::DbError& error) {
        return fail(
            QStringLiteral("cannot make '%1': %2").arg(arguments.path, error.description()));
    } catch (const std::exception& error) {
        return fail(QStringLiteral("cannot make '%1': %2")
                        .arg(arguments.path, QString::fromUtf8(error.what())));
    }
    print(stdout, QStringLiteral("Created %1: %2 stories, %3 book copies in %4 s\n")
                      .arg(arguments.path)
                      .arg(counts.stories)
                      .arg(counts.copies)
                      .arg(static_cast<double>(timer.elapsed()) / 1000.0, 0, 'f', 2));
    return kDone;
}

} // namespace

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    const makestore::ParseResult parsed =
        makestore::parseMakeStoreArguments(QCoreApplication::arguments());
    switch (parsed.outcome) {
    case makestore::ParseResult::Outcome::ShowHelp:
        print(stdout, makestore::makeStoreUsage());
        return kDone;
    case makestore::ParseResult::Outcome::UsageError:
        print(stderr,
              QStringLiteral("make_store: %1\nTry 'make_store --help'.\n").arg(parsed.error));
        return kWrongArguments;
    case makestore::ParseResult::Outcome::Run:
        break;
    }
    return makeStore(parsed.arguments);
}
