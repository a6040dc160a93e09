// Jet files in SQLite's own shell through the jetfile extension: read as the checker reads
// them, changed as the checker's library changes them, and left byte for byte as they were by
// every refusal.

#include "tests/jet/writer/jet_copy.h"
#include "tests/jet/writer/jet_oracle.h"
#include "tests/testkit/shared_material.h"
#include "tests/tools/sqlite_shell.h"

#include "jet/writer/locked_file.h"

#include "tests/testkit/gtest_qt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>
#include <map>
#include <vector>

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QString sqlString(QString value) {
    return QLatin1Char('\'') + value.replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

// The shell on a copy: the file attached (what jet_attach prints left out), then commands.
ProgramRun onCopy(const JetCopy& copy, const QString& password, const QStringList& commands) {
    const QStringList attach{QStringLiteral(".output /dev/null"),
                             QStringLiteral("SELECT jet_attach(%1, %2)")
                                 .arg(sqlString(copy.path()), sqlString(password)),
                             QStringLiteral(".output stdout")};
    return runSqliteShell(QStringLiteral(":memory:"), QStringLiteral(JETFILE_MODULE),
                          attach + commands);
}

// Rows listed as the tests list them: cells tab-separated, NULL as \N (escaped for the shell).
const QStringList kListed{QStringLiteral(".mode tabs"), QStringLiteral(".nullvalue \\\\N")};

// A text column as the checker dumps it: backslash, tab, line feed and carriage return escaped.
QString dumpedText(const char* column) {
    return QStringLiteral("replace(replace(replace(replace(%1, '\\', '\\\\'), char(9), '\\t'), "
                          "char(10), '\\n'), char(13), '\\r') AS %1")
        .arg(QLatin1String(column));
}

// The shop's tables selected as the checker dumps them, currency with four decimals.
const std::map<QString, QString> kDumpSelects = {
    {QStringLiteral("Story"), QStringLiteral("SELECT %1, %2, %3, %4, AddedDate FROM Story")
                                  .arg(dumpedText("BStrID"), dumpedText("BStrName"),
                                       dumpedText("Author"), dumpedText("Category"))},
    {QStringLiteral("Book"),
     QStringLiteral("SELECT BookID, %1, VolNo, CASE WHEN Price NOT NULL THEN printf('%.4f', "
                    "Price) END AS Price, %2 FROM Book")
         .arg(dumpedText("BStrID"), dumpedText("Status"))}};

// A table's lines as the checker dumps it: the header, then the rows in sorted order.
QStringList dumpOrder(QStringList lines) {
    if (!lines.isEmpty()) {
        const QString header = lines.takeFirst();
        lines.sort();
        lines.prepend(header);
    }
    return lines;
}

QStringList shellDump(const JetCopy& copy, const QString& password, const QString& table) {
    const ProgramRun run =
        onCopy(copy, password,
               kListed + QStringList{QStringLiteral(".headers on"), kDumpSelects.at(table)});
    if (run.exitCode != 0) {
        return {QStringLiteral("<shell failed> ") + run.err};
    }
    return dumpOrder(run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts));
}

class JetShell : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = sqliteShellMissing(); !missing.empty()) {
            GTEST_SKIP() << missing;
        }
    }
    const QString folder_ = fixtureFolder();
};

TEST_F(JetShell, ReadsEveryTableAsExpected) {
    // An encoded file, and one without a password, which attaches without one.
    for (const auto& [fixture, password] :
         {std::pair{"shop-encoded", "kd=73"}, {"shop-nopass", ""}}) {
        const JetCopy copy(folder_, text(fixture), text(password));
        for (const auto& [table, select] : kDumpSelects) {
            EXPECT_EQ(shellDump(copy, text(password), table),
                      dumpOrder(expectedLines(folder_, text(fixture), table)))
                << fixture << " " << table.toStdString();
        }
    }
}

// The engine's = (no case, no trailing spaces), LIKE and Thai order, as the tool answers them.
TEST_F(JetShell, TextRulesAnswerAsTheTool) {
    const JetCopy copy(folder_, QStringLiteral("shop-small"));
    for (const char* sql :
         {"SELECT COUNT(*) FROM Book WHERE BStrID = 'c0036  '",
          "SELECT BStrID FROM Story WHERE BStrName LIKE '%มังกร%' ORDER BY BStrID",
          "SELECT BStrID FROM Story WHERE BStrID LIKE '[a-c]00[0-1]%' ORDER BY BStrID",
          "SELECT BStrName, BStrID FROM Story ORDER BY BStrName, BStrID LIMIT 30"}) {
        const ProgramRun run =
            onCopy(copy, QStringLiteral("kd=73"), kListed + QStringList{text(sql)});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), copy.query(text(sql)))
            << sql;
    }
}

TEST_F(JetShell, TablesAndSchemaShowTheFilesTables) {
    const JetCopy copy(folder_, QStringLiteral("shop-small"));
    const ProgramRun run = onCopy(copy, QStringLiteral("kd=73"),
                                  {QStringLiteral(".tables"), QStringLiteral(".schema Book")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("Book   Story\n"))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral(
        R"(CREATE VIRTUAL TABLE "Book" USING jet("BookID" INTEGER, "BStrID" TEXT COLLATE JETTEXT,)")))
        << run.out.toStdString();
}

struct ShellChange {
    const char* fixture;
    const char* sql;
    std::vector<const char*> change; // the checker's change operands: table, column, old, new
};

const ShellChange kChanges[] = {
    {"shop-small",
     "UPDATE Book SET BStrID = 'A0005' WHERE BStrID = 'a0003 '",
     {"Book", "BStrID", "A0003", "A0005"}},
    {"shop-small", "DELETE FROM Story WHERE BStrID = 'A0003'", {"Story", "BStrID", "A0003", "-"}},
    // The relationship cascades the delete to the story's 81 copies.
    {"writer/shop-cascade",
     "DELETE FROM Story WHERE BStrID = 'C0036'",
     {"Story", "BStrID", "C0036", "-"}},
};

class JetShellChanges : public JetShell, public ::testing::WithParamInterface<ShellChange> {};

TEST_P(JetShellChanges, EndAsTheCheckersLibraryEnds) {
    REQUIRE_SHARED_MATERIAL("the independent checker of Jet files");
    const ShellChange& change = GetParam();
    const QString password = QStringLiteral("kd=73");
    const JetCopy ours(folder_, text(change.fixture));
    const JetCopy theirs(folder_, text(change.fixture));
    const ProgramRun run = onCopy(ours, password, {text(change.sql)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList arguments{QStringLiteral("change"), theirs.path()};
    for (const char* operand : change.change) {
        arguments << text(operand);
    }
    const auto checker = runOracle(arguments);
    ASSERT_TRUE(checker && checker->status == 0) << (checker ? checker->output.toStdString() : "");
    for (const auto& [table, select] : kDumpSelects) {
        const auto dump = runOracle({QStringLiteral("dump"), theirs.path(), table, password});
        ASSERT_TRUE(dump && dump->status == 0);
        EXPECT_EQ(shellDump(ours, password, table),
                  dumpOrder(dump->output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)))
            << table.toStdString();
    }
    const auto verdict = runJetOracle(ours.path(), password);
    EXPECT_TRUE(verdict->sound) << verdict->output.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Shop, JetShellChanges, ::testing::ValuesIn(kChanges));

struct ShellRefusal {
    const char* name;
    const char* fixture;
    const char* password;
    const char* sql; // after the file is attached; "" for none
    const char* words;
    // What stands in the change's way, set up beside the copy; held until the shell ends.
    std::function<std::shared_ptr<void>(const JetCopy&)> obstacle;
};

std::shared_ptr<void> shopProgramsLockFile(const JetCopy& copy) {
    QFile lock(QFileInfo(copy.path()).dir().filePath(QStringLiteral("book.ldb")));
    if (lock.open(QIODevice::WriteOnly)) {
        QByteArray record(64, '\0');
        record.replace(0, 7, "SHOP-PC");
        record.replace(32, 5, "Admin");
        lock.write(record);
    }
    return nullptr;
}

// Another session, of this process, in the middle of a change.
std::shared_ptr<void> sessionWriting(const JetCopy& copy) {
    std::shared_ptr<jet::LockedFile> file = jet::LockedFile::open(
        QFile::encodeName(copy.path()).toStdString(), std::chrono::milliseconds(0));
    file->beginWrite();
    return file;
}

const ShellRefusal kRefusals[] = {
    {"WrongPassword", "shop-small", "kd=74", "", "Not a valid password.", nullptr},
    {"NotJet", "shop-small", "kd=73", "", "Unrecognized database format",
     [](const JetCopy& copy) {
         QFile file(copy.path());
         if (file.open(QIODevice::ReadWrite)) {
             file.write("SQLite format 3");
         }
         return std::shared_ptr<void>();
     }},
    {"ShopProgramOpen", "shop-small", "kd=73",
     "UPDATE Book SET BStrID = 'A0005' WHERE BStrID = 'A0003'",
     "Could not update; currently locked by user 'Admin' on machine 'SHOP-PC'.",
     shopProgramsLockFile},
    {"AnotherSessionWriting", "shop-small", "kd=73", "", "file already in use", sessionWriting},
    {"DuplicateKey", "shop-small", "kd=73",
     "UPDATE Story SET BStrID = 'A0005' WHERE BStrID = 'A0003'",
     "would create duplicate values in the index", nullptr},
    {"RelatedRecords", "writer/shop-ri", "kd=73", "DELETE FROM Story WHERE BStrID = 'C0036'",
     "table 'Book' includes related records.", nullptr},
    {"Insert", "shop-small", "kd=73", "INSERT INTO Story (BStrID) VALUES ('Z0001')",
     "Operation is not supported for this type of object.", nullptr},
    {"InsideATransaction", "shop-small", "kd=73",
     "BEGIN; UPDATE Book SET BStrID = 'A0005' WHERE BStrID = 'A0003'; COMMIT;",
     "A Jet file is changed one statement at a time", nullptr},
    {"DropTable", "shop-small", "kd=73", "DROP TABLE Book", "authorization denied", nullptr},
};

class JetShellRefusals : public JetShell, public ::testing::WithParamInterface<ShellRefusal> {};

TEST_P(JetShellRefusals, LeaveTheFileAsItWas) {
    const ShellRefusal& refusal = GetParam();
    const JetCopy copy(folder_, text(refusal.fixture));
    const std::shared_ptr<void> obstacle = refusal.obstacle ? refusal.obstacle(copy) : nullptr;
    const QByteArray before = copy.bytes();
    QStringList commands;
    if (*refusal.sql != '\0') {
        commands << text(refusal.sql);
    }
    const ProgramRun run = onCopy(copy, text(refusal.password), commands);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(text(refusal.words))) << run.err.toStdString();
    EXPECT_TRUE(copy.bytes() == before) << "a refusal touched the file";
    EXPECT_FALSE(QFileInfo::exists(copy.path() + QStringLiteral("-journal")));
}

INSTANTIATE_TEST_SUITE_P(Shop, JetShellRefusals, ::testing::ValuesIn(kRefusals),
                         [](const ::testing::TestParamInfo<ShellRefusal>& param) {
                             return std::string(param.param.name);
                         });

} // namespace
