#include "tools/make_store/make_store_arguments.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <optional>

namespace makestore {
namespace {

// Plain decimal digits only: toLongLong alone would also take "+5" and " 5".
bool isDigits(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,20}$"));
    return digits.match(text).hasMatch();
}

std::optional<qint64> wholeNumber(const QString& text) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return isDigits(text) && ok ? std::optional<qint64>(value) : std::nullopt;
}

std::optional<quint64> seedNumber(const QString& text) {
    bool ok = false;
    const quint64 value = text.toULongLong(&ok);
    return isDigits(text) && ok ? std::optional<quint64>(value) : std::nullopt;
}

ParseResult usageError(const QString& message) {
    ParseResult result;
    result.error = message;
    return result;
}

struct Options {
    QCommandLineOption path{QStringLiteral("path"), QString(), QStringLiteral("FILE")};
    QCommandLineOption password{QStringLiteral("password"), QString(), QStringLiteral("PW")};
    QCommandLineOption demo{QStringLiteral("demo")};
    QCommandLineOption empty{QStringLiteral("empty")};
    QCommandLineOption stories{QStringLiteral("stories"), QString(), QStringLiteral("N")};
    QCommandLineOption copies{QStringLiteral("copies"), QString(), QStringLiteral("M")};
    QCommandLineOption seed{QStringLiteral("seed"), QString(), QStringLiteral("S")};
    QCommandLineOption special{QStringLiteral("special"), QString(),
                               QStringLiteral("CODE=COUNT[:NAME]")};
    QCommandLineOption sql{QStringLiteral("sql"), QString(), QStringLiteral("FILE")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}};
};

// Single-valued options given twice are more likely a slip than a wish for the last one.
std::optional<QString> singleValue(const QCommandLineParser& parser,
                                   const QCommandLineOption& option, QString& error) {
    const QStringList values = parser.values(option);
    if (values.size() > 1) {
        error = QStringLiteral("--%1 given more than once").arg(option.names().constLast());
        return std::nullopt;
    }
    return values.isEmpty() ? std::nullopt : std::optional<QString>(values.front());
}

} // namespace

ParseResult parseMakeStoreArguments(const QStringList& arguments) {
    const Options o;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({o.path, o.password, o.demo, o.empty, o.stories, o.copies, o.seed, o.special,
                       o.sql, o.help});
    if (!parser.parse(arguments)) {
        return usageError(parser.errorText());
    }
    if (parser.isSet(o.help)) {
        ParseResult result;
        result.outcome = ParseResult::Outcome::ShowHelp;
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return usageError(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().front()));
    }

    ParseResult result;
    MakeStoreArguments& a = result.arguments;
    QString error;
    const auto path = singleValue(parser, o.path, error);
    const auto password = singleValue(parser, o.password, error);
    const auto stories = singleValue(parser, o.stories, error);
    const auto copies = singleValue(parser, o.copies, error);
    const auto seed = singleValue(parser, o.seed, error);
    const auto sql = singleValue(parser, o.sql, error);
    if (!error.isEmpty()) {
        return usageError(error);
    }
    if (!path || path->isEmpty()) {
        return usageError(QStringLiteral("--path FILE is required"));
    }
    if (!password) {
        return usageError(
            QStringLiteral("--password PW is required (it may be empty: --password \"\")"));
    }
    a.path = *path;
    a.password = *password;
    if (parser.isSet(o.demo) == parser.isSet(o.empty)) {
        return usageError(QStringLiteral("give exactly one of --demo and --empty"));
    }

    if (parser.isSet(o.empty)) {
        a.kind = StoreKind::Empty;
        for (const QCommandLineOption* demoOnly : {&o.stories, &o.copies, &o.seed, &o.special}) {
            if (parser.isSet(*demoOnly)) {
                return usageError(QStringLiteral("--%1 goes only with --demo")
                                      .arg(demoOnly->names().constLast()));
            }
        }
        if (sql) {
            if (sql->isEmpty()) {
                return usageError(QStringLiteral("--sql needs a file name"));
            }
            a.sqlFile = *sql;
        }
        result.outcome = ParseResult::Outcome::Run;
        return result;
    }

    a.kind = StoreKind::Demo;
    if (sql) {
        return usageError(QStringLiteral("--sql goes only with --empty"));
    }
    if (stories) {
        const auto n = wholeNumber(*stories);
        if (!n) {
            return usageError(
                QStringLiteral("--stories expects a whole number, not '%1'").arg(*stories));
        }
        a.demo.stories = *n;
    }
    if (copies) {
        const auto m = wholeNumber(*copies);
        if (!m) {
            return usageError(
                QStringLiteral("--copies expects a whole number, not '%1'").arg(*copies));
        }
        a.demo.copies = *m;
    }
    if (seed) {
        const auto s = seedNumber(*seed);
        if (!s) {
            return usageError(QStringLiteral("--seed expects a whole number from 0 to "
                                             "18446744073709551615, not '%1'")
                                  .arg(*seed));
        }
        a.demo.seed = *s;
    }
    try {
        for (const QString& special : parser.values(o.special)) {
            a.demo.specials.push_back(demostore::parseSpecialStory(special.toStdString()));
        }
        demostore::checkDemoRequest(a.demo);
    } catch (const demostore::DemoRequestError& e) {
        return usageError(QString::fromUtf8(e.what()));
    }
    result.outcome = ParseResult::Outcome::Run;
    return result;
}

QString makeStoreUsage() {
    return QStringLiteral(
               "Usage:\n"
               "  make_store --path FILE --password PW --demo [--stories N] [--copies M]\n"
               "             [--seed S] [--special CODE=COUNT[:NAME]]...\n"
               "  make_store --path FILE --password PW --empty [--sql FILE]\n"
               "\n"
               "Creates a new password-protected store with the shop's schema (tables Story\n"
               "and Book). Never replaces an existing file.\n"
               "\n"
               "  --path FILE        the store to create\n"
               "  --password PW      its database password (may be empty)\n"
               "  --demo             fill it with generated stories and book copies\n"
               "  --stories N        ordinary stories, 0 to %1 (default 1000)\n"
               "  --copies M         copies spread over them, 0 to %2 (default 20000)\n"
               "  --seed S           the same seed gives the same store (default 1)\n"
               "  --special CODE=COUNT[:NAME]\n"
               "                     one more story with exactly COUNT copies, named NAME or a\n"
               "                     generated title; may be repeated\n"
               "  --empty            leave the tables empty...\n"
               "  --sql FILE         ...or run the ';'-separated UTF-8 statements in FILE, all in\n"
               "                     one transaction\n"
               "  -h, --help         show this text\n"
               "\n"
               "Exit status: 0 done, 1 the store could not be made, 2 wrong arguments.\n")
        .arg(demostore::kMaxStories)
        .arg(demostore::kMaxCopies);
}

} // namespace makestore
