// What the store answers to the statements the tool runs: text equality, LIKE and order.

#include "data/adodb.h"
#include "data/db_error.h"
#include "tests/testkit/temp_store.h"

#include "tests/testkit/gtest_qt.h"

#include <QFile>
#include <QStringList>

#include <sqlite3.h>

namespace {

const char* kStories =
    "INSERT INTO Story (BStrID, BStrName) VALUES"
    " ('A0001', 'ขายหัวเราะ'), ('a0002', 'เจ้าหญิงนิทรา'), ('TH-0123', 'ไก่ทอง'),"
    " ('W0001', '100% รัก'), ('W0003', 'A_B'), ('W0005', 'บท [พิเศษ]'), ('N0001', NULL),"
    " ('E0001', ''), ('C0001', 'Café'), ('C0002', 'cafe'), ('T0001', 'กา'), ('T0002', 'ก่า'),"
    " ('L0001', 'zebra'), ('L0002', 'Apple'), ('S0001', 'ends in space ');"
    "INSERT INTO Book (BStrID) VALUES ('A0001'), ('A0001'), ('TH-0123'), ('th-0123'),"
    " ('TH-0123  '), ('a0002'), (NULL);";

QStringList column(const TempStore& store, const QString& sql, int field = 0) {
    adodb::Recordset rs;
    rs.Open(sql, store.connectionString(), adodb::adOpenStatic, adodb::adLockReadOnly);
    QStringList values;
    while (!rs.Eof()) {
        const QVariant v = rs.Fields(field).Value;
        values << (v.isNull() ? QStringLiteral("<null>") : v.toString());
        rs.MoveNext();
    }
    rs.Close();
    return values;
}

struct QueryCase {
    const char* sql;
    const char* expected; // rows joined with '|'
};

class StoreQueries : public ::testing::TestWithParam<QueryCase> {
protected:
    static void SetUpTestSuite() { store_ = new TempStore(QString::fromUtf8(kStories)); }
    static void TearDownTestSuite() { delete store_; }
    static TempStore* store_;
};
TempStore* StoreQueries::store_ = nullptr;

TEST_P(StoreQueries, AnswerAsTheShopEngine) {
    const QueryCase& c = GetParam();
    EXPECT_EQ(column(*store_, QString::fromUtf8(c.sql)).join(u'|'), QString::fromUtf8(c.expected))
        << c.sql;
}

INSTANTIATE_TEST_SUITE_P(
    Equality, StoreQueries,
    ::testing::Values(QueryCase{"SELECT * FROM Story Where BStrID = 'a0001' ", "A0001"},
                      QueryCase{"SELECT * FROM Story Where BStrID = 'A0001   ' ", "A0001"},
                      QueryCase{"SELECT * FROM Story Where BStrID = ' A0001' ", ""},
                      QueryCase{"SELECT * FROM Story Where BStrID = 'A0002' ", "a0002"},
                      QueryCase{"SELECT BStrID FROM Story Where BStrName = 'CAFE' ", "C0002"},
                      QueryCase{"SELECT BStrID FROM Story Where BStrName = 'ก่า' ", "T0002"},
                      QueryCase{"SELECT COUNT(*) FROM Book Where BStrID = 'TH-0123' ", "3"},
                      QueryCase{"SELECT COUNT(*) FROM Book Where BStrID = 'NONE' ", "0"}));

INSTANTIATE_TEST_SUITE_P(
    LikeAndOrder, StoreQueries,
    ::testing::Values(
        QueryCase{"Select [BStrID], [BStrName] From  Story  Where BStrName Like '%%' Order by "
                  "BStrName",
                  "E0001|W0001|W0003|L0002|C0002|C0001|S0001|L0001|T0001|T0002|TH-0123|A0001|a0002|"
                  "W0005"},
        QueryCase{"Select [BStrID] From  Story  Where BStrName Like '%หญิง%' Order by BStrName",
                  "a0002"},
        QueryCase{"Select [BStrID] From  Story  Where BStrName Like '%CAF%' Order by BStrName",
                  "C0002|C0001"},
        QueryCase{"Select [BStrID] From  Story  Where BStrName Like '%[%]%' Order by BStrName",
                  "W0001"},
        QueryCase{"Select [BStrID] From  Story  Where BStrName Like '%_%' Order by BStrName",
                  "W0001|W0003|L0002|C0002|C0001|S0001|L0001|T0001|T0002|TH-0123|A0001|a0002|"
                  "W0005"},
        QueryCase{"Select [BStrID] From  Story  Where BStrName Like '%[[]%' Order by BStrName",
                  "W0005"},
        QueryCase{"Select [BStrID] From  Story  Where BStrName Like '%[!a-z0-9 %_]%' Order by "
                  "BStrName",
                  "W0001|C0001|T0001|T0002|TH-0123|A0001|a0002|W0005"},
        QueryCase{"Select [BStrID] From  Story  Where BStrName Like '%space %' Order by BStrName",
                  "S0001"},
        QueryCase{"SELECT BStrName FROM Story ORDER BY BStrName, BStrID",
                  // digits, then Latin (punctuation before letters, accents after), then Thai
                  // by consonant with leading vowels after their consonant
                  "<null>||100% รัก|A_B|Apple|cafe|Café|ends in space |zebra|กา|ก่า|ไก่ทอง|"
                  "ขายหัวเราะ|เจ้าหญิงนิทรา|บท [พิเศษ]"}));

TEST(StoreStatements, UpdateMatchingNothingSucceedsSilently) {
    TempStore store(QString::fromUtf8(kStories));
    adodb::Command command;
    command.ActiveConnection = store.connectionString();
    command.CommandType = adodb::adCmdText;
    command.CommandText = QStringLiteral("UPDATE BOOK SET BStrID = 'X' Where BStrID = 'NOPE' ");
    EXPECT_NO_THROW(command.Execute());
    EXPECT_EQ(store.scalar(QStringLiteral("SELECT COUNT(*) FROM Book WHERE BStrID = 'X'")), "0");
}

TEST(StoreStatements, UpdateMovesEveryCopyEqualToTheCode) {
    TempStore store(QString::fromUtf8(kStories));
    adodb::Command command;
    command.ActiveConnection = store.connectionString();
    command.CommandType = adodb::adCmdText;
    command.CommandText =
        QStringLiteral("UPDATE BOOK SET BStrID = 'NEW-1' Where BStrID = 'TH-0123' ");
    command.Execute();
    EXPECT_EQ(store.scalar(QStringLiteral("SELECT COUNT(*) FROM Book WHERE BStrID = 'new-1'")),
              "3");
    EXPECT_EQ(store.scalar(QStringLiteral("SELECT COUNT(*) FROM Book WHERE BStrID = 'TH-0123'")),
              "0");
}

TEST(StoreStatements, SecondStatementInOneTextIsRefused) {
    TempStore store(QString::fromUtf8(kStories));
    adodb::Command command;
    command.ActiveConnection = store.connectionString();
    command.CommandType = adodb::adCmdText;
    command.CommandText = QStringLiteral("DELETE FROM Story Where BStrID = 'x'; DELETE FROM Book");
    EXPECT_THROW(command.Execute(), platform::DbError);
    EXPECT_EQ(store.scalar(QStringLiteral("SELECT COUNT(*) FROM Book")), "7");
}

// What the SQLite the tool is built with must keep, whichever release it is: a deleted story's
// text does not stay readable in the file, and a busy store is retried in short sleeps, not
// whole seconds.
TEST(StoreStatements, DeletedStoryLeavesNoTextAndBusyRetriesAreShort) {
    const QString marker = QStringLiteral("QZX-deleted-story-9271");
    TempStore store(QStringLiteral("INSERT INTO Story (BStrID, BStrName) VALUES ('D0001', %1)")
                        .arg(sqlLiteral(marker)));
    adodb::Command command;
    command.ActiveConnection = store.connectionString();
    command.CommandType = adodb::adCmdText;
    command.CommandText = QStringLiteral("DELETE FROM Story Where BStrID = 'D0001' ");
    command.Execute();
    QFile file(store.path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains(marker.toUtf8()));
    EXPECT_EQ(sqlite3_sleep(1), 1); // the sleep asked of the system, in milliseconds
}

} // namespace
