// The jettext extension in SQLite's own shell answers as our connection does.

#include "tests/tools/sqlite_shell.h"
#include "tests/tools/store_rows.h"
#include "tools/demo_store/store_builder.h"

#include "tests/testkit/gtest_qt.h"

#include <QTemporaryDir>

namespace {

constexpr const char* kPassword = "kd=73";

class SqliteShell : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        skipReason_ = sqliteShellMissing();
        if (!skipReason_.empty()) {
            return;
        }
        dir_ = new QTemporaryDir;
        demostore::DemoRequest request;
        request.stories = 3000;
        request.copies = 30000;
        request.seed = 11;
        request.specials = {{"th-9000", 1200, "ย้ายๆ"}};
        demostore::createDemoStore(path(), kPassword, request);
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override {
        if (!skipReason_.empty()) {
            GTEST_SKIP() << skipReason_;
        }
    }
    static QString path() { return dir_->filePath(QStringLiteral("book.mdb")); }

    // The shell's output lines for the commands, run with the extension loaded or not.
    static ProgramRun shell(const QStringList& commands, bool withExtension = true) {
        return runSqliteShell(path(), withExtension ? QStringLiteral(JETTEXT_MODULE) : QString(),
                              commands);
    }

    static inline std::string skipReason_;
    static inline QTemporaryDir* dir_ = nullptr;
};

QStringList lines(const QString& output) {
    return output.split(u'\n', Qt::SkipEmptyParts);
}

class SqliteShellQueries : public SqliteShell, public ::testing::WithParamInterface<const char*> {};

TEST_P(SqliteShellQueries, SameAnswerAsOurConnection) {
    const QString sql = QString::fromUtf8(GetParam());
    const QStringList ours = storeRows(path(), kPassword, sql);
    ASSERT_FALSE(ours.isEmpty());
    const ProgramRun run = shell({sql});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(lines(run.out), ours);
}

INSTANTIATE_TEST_SUITE_P(
    Queries, SqliteShellQueries,
    ::testing::Values(
        // Letter case and trailing spaces do not count in the key.
        "SELECT COUNT(*) FROM Book WHERE BStrID = 'TH-9000  '",
        "SELECT COUNT(*) FROM Book WHERE BStrID = 'th-0123'",
        // The engine's LIKE: '[...]' lists, no case, Thai marks.
        "SELECT COUNT(*) FROM Story WHERE BStrID LIKE 'th-[0-4]%'",
        "SELECT COUNT(*) FROM Story WHERE BStrName LIKE '%ๆ%'",
        "SELECT COUNT(*) FROM Story WHERE BStrName LIKE 'เ%' OR BStrName LIKE '%ภาค _'",
        // Thai dictionary order, Latin before Thai, with ties broken by the key.
        "SELECT BStrID, BStrName FROM Story ORDER BY BStrName, BStrID LIMIT 40",
        "SELECT BStrID FROM Story WHERE BStrID BETWEEN 'kh-0100' AND 'KH-0200' ORDER BY BStrID",
        "SELECT Status, COUNT(*) FROM Book GROUP BY Status ORDER BY Status",
        "PRAGMA integrity_check"));

TEST_F(SqliteShell, KeyLookupUsesTheBookIndex) {
    const ProgramRun run =
        shell({"EXPLAIN QUERY PLAN SELECT COUNT(*) FROM Book WHERE BStrID = 'th-0123'"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QLatin1String("INDEX BookBStrID (BStrID=?)")))
        << run.out.toStdString();
}

TEST_F(SqliteShell, WithoutTheExtensionTheStoreCannotBeChecked) {
    const ProgramRun run = shell({"PRAGMA integrity_check"}, false);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(QLatin1String("no such collation sequence: JETTEXT")))
        << run.err.toStdString();
}

} // namespace
