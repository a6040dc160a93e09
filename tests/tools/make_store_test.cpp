// make_store as its user meets it: arguments, files it will not replace, and --sql.

#include "tests/tools/program_run.h"
#include "tests/tools/store_rows.h"

#include "data/db_error.h"
#include "data/sqlite_session.h"
#include "data/sqlite_store.h"

#include "tests/testkit/gtest_qt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

ProgramRun makeStore(const QStringList& arguments) {
    return runProgram(QStringLiteral(MAKE_STORE_PROGRAM), arguments);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct ArgumentCase {
    const char* name;
    QStringList arguments; // --path is added in front
    const char* message;   // part of what make_store prints on stderr
    friend void PrintTo(const ArgumentCase& c, std::ostream* out) { *out << c.name; }
};

class MakeStoreArguments : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(MakeStoreArguments, WrongArgumentsExitWithTwoAndMakeNoFile) {
    const ArgumentCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.mdb"));
    const ProgramRun run = makeStore(QStringList{QStringLiteral("--path"), path} + c.arguments);
    EXPECT_EQ(run.exitCode, 2) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QLatin1String(c.message))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

QStringList demo(const QStringList& more) {
    return QStringList{"--password", "kd=73", "--demo"} + more;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MakeStoreArguments,
    ::testing::Values(
        ArgumentCase{"NoKind", {"--password", "kd=73"}, "exactly one of --demo and --empty"},
        ArgumentCase{"NoPassword", {"--demo"}, "--password PW is required"},
        ArgumentCase{"PasswordTwice", demo({"--password", "x"}), "--password given more than once"},
        ArgumentCase{"UnknownOption", demo({"--colour"}), "colour"},
        ArgumentCase{"StrayArgument", demo({"extra"}), "unexpected argument 'extra'"},
        ArgumentCase{"NegativeStories", demo({"--stories", "-1"}), "--stories expects a whole"},
        ArgumentCase{"SignedCopies", demo({"--copies", "+5"}), "--copies expects a whole"},
        ArgumentCase{"TooManyStories", demo({"--stories", "100001"}), "between 0 and 100000"},
        ArgumentCase{"TooManyCopies", demo({"--copies", "1000001"}), "between 0 and 1000000"},
        ArgumentCase{"CopiesWithoutStories", demo({"--stories", "0"}), "at least one story"},
        ArgumentCase{"SeedTooLarge", demo({"--seed", "18446744073709551616"}), "--seed expects"},
        ArgumentCase{"SpecialWithoutCount", demo({"--special", "KH-0001"}), "CODE=COUNT"},
        ArgumentCase{"ThaiCode16", demo({"--special", "รหัสไทยสิบห้าตัว=1"}), "longer than 15"},
        ArgumentCase{"SpecialTrailingSpace", demo({"--special", "A1 =5"}), "ends with a space"},
        ArgumentCase{"SpecialsClashInOtherCase",
                     demo({"--special", "kh-1=1", "--special", "KH-1=2"}), "ignores letter case"},
        ArgumentCase{"SqlWithDemo", demo({"--sql", "x.sql"}), "--sql goes only with --empty"},
        ArgumentCase{"SpecialWithEmpty",
                     {"--password", "", "--empty", "--special", "A=1"},
                     "--special goes only with --demo"}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(MakeStore, HelpAndMissingPath) {
    EXPECT_TRUE(makeStore({"--help"}).out.contains(QLatin1String("--special CODE=COUNT")));
    const ProgramRun run = makeStore({"--password", "x", "--empty"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QLatin1String("--path FILE is required")))
        << run.err.toStdString();
}

TEST(MakeStore, NeverReplacesAnExistingFileOrFolder) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("book.mdb"));
    writeFile(file, "the shop's real data");
    const QString folder = dir.filePath(QStringLiteral("folder.mdb"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.mdb")));
    for (const QString& path : {file, folder}) {
        for (const QStringList& kind : {QStringList{"--demo"}, QStringList{"--empty"}}) {
            const ProgramRun run =
                makeStore(QStringList{"--path", path, "--password", "pw"} + kind);
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_TRUE(run.err.contains(QLatin1String("already exists"))) << run.err.toStdString();
        }
    }
    EXPECT_EQ(readFile(file), "the shop's real data");
}

TEST(MakeStore, DemoStoreOpensWithItsPasswordOnly) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.mdb"));
    // Longest codes, a name with ':' and codes that differ only by an accent are all fine.
    const ProgramRun run =
        makeStore({"--path", path, "--password", "ร้าน=73", "--demo", "--stories", "40", "--copies",
                   "300", "--special", "KH-0001=25:ย้าย: ภาค ๒", "--special", "CAFE=1", "--special",
                   "CAFÉ=2", "--special", "กกกกกกกกกกกกกกก=0", "--special", "AAAAAAAAAAAAAAA=0"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QLatin1String("45 stories, 328 book copies")))
        << run.out.toStdString();
    const QString password = QStringLiteral("ร้าน=73");
    EXPECT_EQ(storeRows(path, password,
                        "SELECT BStrID, COUNT(BookID) FROM Story LEFT JOIN Book USING (BStrID)"
                        " WHERE BStrID IN ('kh-0001', 'Café') GROUP BY BStrID ORDER BY BStrID"),
              (QStringList{"CAFÉ|2", "KH-0001|25"}));
    EXPECT_EQ(storeValue(path, password, "SELECT BStrName FROM Story WHERE BStrID = 'KH-0001'"),
              "ย้าย: ภาค ๒");
    EXPECT_THROW(platform::openCheckedSqliteSession(path, QStringLiteral("kd=73")),
                 platform::DbError);
}

TEST(MakeStoreSql, RunsTheStatementsAfterTheSchema) {
    QTemporaryDir dir;
    const QString sql = dir.filePath(QStringLiteral("shop.sql"));
    writeFile(sql, "\xEF\xBB\xBF" // a byte-order mark, as Windows editors write
                   "-- two stories, three copies\n"
                   "INSERT INTO Story (BStrID, BStrName) VALUES ('TH-0036', 'เจ้าหญิงนิทรา');\n"
                   "INSERT INTO Story (BStrID, BStrName) VALUES ('A0005', 'Moon; Café');\n"
                   "INSERT INTO Book (BStrID, VolNo, Status) VALUES ('th-0036', 1, 'ว่าง'),\n"
                   "  ('TH-0036', 2, 'ถูกเช่า'), ('A0005', 1, 'ชำรุด');\n");
    const QString path = dir.filePath(QStringLiteral("book.mdb"));
    const ProgramRun run =
        makeStore({"--path", path, "--password", "kd=73", "--empty", "--sql", sql});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QLatin1String("2 stories, 3 book copies")))
        << run.out.toStdString();
    EXPECT_EQ(storeRows(path, "kd=73", "SELECT BStrID, BStrName FROM Story ORDER BY BStrID"),
              (QStringList{"A0005|Moon; Café", "TH-0036|เจ้าหญิงนิทรา"}));
    EXPECT_EQ(storeValue(path, "kd=73", "SELECT COUNT(*) FROM Book WHERE BStrID = 'TH-0036'"), "2");
}

TEST(MakeStoreSql, EmptyWithoutSqlHasTheSchemaAndNoRows) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.mdb"));
    const ProgramRun run = makeStore({"--path", path, "--password", "kd=73", "--empty"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(storeValue(path, "kd=73",
                         "SELECT (SELECT COUNT(*) FROM Story) + (SELECT COUNT(*) FROM Book)"),
              "0");
}

struct BadSqlCase {
    const char* name;
    QByteArray content; // empty: the file is not there
    const char* message;
    friend void PrintTo(const BadSqlCase& c, std::ostream* out) { *out << c.name; }
};

class MakeStoreBadSql : public ::testing::TestWithParam<BadSqlCase> {};

TEST_P(MakeStoreBadSql, FailsWithOneAndLeavesNoStoreBehind) {
    const BadSqlCase& c = GetParam();
    QTemporaryDir dir;
    const QString sql = dir.filePath(QStringLiteral("shop.sql"));
    if (!c.content.isEmpty()) {
        writeFile(sql, c.content);
    }
    const QString path = dir.filePath(QStringLiteral("book.mdb"));
    const ProgramRun run =
        makeStore({"--path", path, "--password", "kd=73", "--empty", "--sql", sql});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QLatin1String(c.message))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MakeStoreBadSql,
    ::testing::Values(
        BadSqlCase{"Missing", {}, "cannot read"},
        BadSqlCase{"NotUtf8", "INSERT INTO Story (BStrID, BStrName) VALUES ('A1', '\xA1\xA2');",
                   "not UTF-8"},
        BadSqlCase{"SyntaxErrorAfterGoodStatements",
                   "INSERT INTO Story (BStrID) VALUES ('A1'); INSERT INTO Stroy VALUES (1);",
                   "cannot find the input table or query 'Stroy'"},
        BadSqlCase{"KeyClashInOtherCase",
                   "INSERT INTO Story (BStrID) VALUES ('a0005'); INSERT INTO Story (BStrID) VALUES "
                   "('A0005');",
                   "UNIQUE constraint failed"}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

} // namespace
