#include "data/adodb.h"
#include "data/db_error.h"
#include "tests/testkit/temp_store.h"

#include "tests/testkit/gtest_qt.h"

namespace {

const QString kSql = QStringLiteral("SELECT BStrID, BStrName FROM Story ORDER BY BStrID");

TEST(Recordset, RecordsCursorAndLockAndReadsFieldsByNameAndIndex) {
    TempStore store(QStringLiteral("INSERT INTO Story (BStrID, BStrName) VALUES ('A', 'one'),"
                                   " ('B', NULL)"));
    struct Case {
        adodb::CursorTypeEnum cursor;
        adodb::LockTypeEnum lock;
    };
    for (const Case c : {Case{adodb::adOpenStatic, adodb::adLockReadOnly},
                         Case{adodb::adOpenKeyset, adodb::adLockOptimistic}}) {
        adodb::Recordset rs;
        EXPECT_EQ(rs.State(), adodb::adStateClosed);
        rs.Open(kSql, store.connectionString(), c.cursor, c.lock);
        EXPECT_EQ(rs.State(), adodb::adStateOpen);
        EXPECT_EQ(rs.CursorType(), c.cursor);
        EXPECT_EQ(rs.LockType(), c.lock);
        ASSERT_FALSE(rs.Eof());
        EXPECT_EQ(rs.Fields(QStringLiteral("bstrname")).Value.toString(), "one");
        EXPECT_EQ(rs.Fields(0).Value.toString(), "A");
        rs.MoveNext();
        EXPECT_TRUE(rs.Fields(QStringLiteral("BStrName")).Value.isNull());
        rs.MoveNext();
        EXPECT_TRUE(rs.Eof());
        // Without a current row a field still has its name and type, but no value.
        EXPECT_EQ(rs.Fields(1).Name, "BStrName");
        EXPECT_EQ(rs.Fields(QStringLiteral("bstrid")).Type, adodb::adVarWChar);
        EXPECT_THROW(rs.Fields(0).Value.toString(), platform::DbError);
        EXPECT_THROW(rs.MoveNext(), platform::DbError);
        rs.Close();
        EXPECT_THROW(rs.Eof(), platform::DbError);
    }
}

TEST(Recordset, UnknownFieldIsAnError) {
    TempStore store(QStringLiteral("INSERT INTO Story (BStrID) VALUES ('A')"));
    adodb::Recordset rs;
    rs.Open(kSql, store.connectionString(), adodb::adOpenStatic, adodb::adLockReadOnly);
    EXPECT_THROW(rs.Fields(QStringLiteral("Nope")), platform::DbError);
    EXPECT_THROW(rs.Fields(5), platform::DbError);
}

TEST(Recordset, TwoOpenAtOnceEachHaveTheirOwnConnection) {
    TempStore store(QStringLiteral("INSERT INTO Story (BStrID) VALUES ('A'), ('B');"
                                   "INSERT INTO Book (BStrID) VALUES ('A')"));
    adodb::Recordset first;
    first.Open(kSql, store.connectionString(), adodb::adOpenKeyset, adodb::adLockOptimistic);
    adodb::Recordset second;
    second.Open(kSql, store.connectionString(), adodb::adOpenKeyset, adodb::adLockOptimistic);
    first.MoveNext();
    EXPECT_EQ(first.Fields(0).Value.toString(), "B");
    EXPECT_EQ(second.Fields(0).Value.toString(), "A");
    first.Close();
    // The second stays readable after the first has given up its connection.
    second.MoveNext();
    EXPECT_EQ(second.Fields(0).Value.toString(), "B");
}

TEST(Recordset, SyntaxErrorCarriesTheEngineDescription) {
    TempStore store;
    adodb::Recordset rs;
    try {
        rs.Open(QStringLiteral("SELECT * FROM Story Where BStrID = 'O'NEIL' "),
                store.connectionString(), adodb::adOpenKeyset, adodb::adLockOptimistic);
        FAIL() << "no error";
    } catch (const platform::DbError& error) {
        EXPECT_FALSE(error.description().isEmpty());
        EXPECT_NE(error.nativeError(), 0);
    }
    EXPECT_EQ(rs.State(), adodb::adStateClosed);
}

TEST(Connection, IsNeverOpenedByHoldingAConnectionString) {
    TempStore store;
    adodb::Connection connection;
    connection.ConnectionString = store.connectionString();
    EXPECT_EQ(connection.State(), adodb::adStateClosed);
    connection.Open();
    EXPECT_EQ(connection.State(), adodb::adStateOpen);
    connection.Close();
    EXPECT_EQ(connection.State(), adodb::adStateClosed);
}

} // namespace
