#include "data/db_error.h"
#include "support/database_access.h"
#include "support/text_helpers.h"
#include "tests/testkit/temp_store.h"

#include "tests/testkit/gtest_qt.h"

namespace {

TEST(DatabaseAccess, BuildsTheConnectionStringFromThePathUntouched) {
    Library1::DatabaseAccess db;
    const QString path = QStringLiteral("/ร้าน หนังสือ/it's \"odd\"/book.mdb");
    db.InitDatabase(path);
    EXPECT_EQ(db.DbConnectString(),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path +
                  QStringLiteral(";Persist Security Info=False;Jet OLEDB:Database Password=kd=73"));
    ASSERT_NE(db.DbConnection(), nullptr);
    EXPECT_EQ(db.DbConnection()->ConnectionString, db.DbConnectString());
    EXPECT_EQ(db.DbConnection()->State(), adodb::adStateClosed);
}

// A ';' in a folder name must neither cut the path short nor let it name another file.
TEST(DatabaseAccess, APathWithASemicolonStillNamesItsOwnFile) {
    struct Case {
        const char* path;
        const char* written;
    };
    for (const Case& c :
         {Case{"/shop;branch/book.mdb", "\"/shop;branch/book.mdb\""},
          Case{"/x;Data Source=/other/book.mdb", "\"/x;Data Source=/other/book.mdb\""},
          Case{"/a \"b\";c/book.mdb", "\"/a \"\"b\"\";c/book.mdb\""}}) {
        Library1::DatabaseAccess db;
        db.InitDatabase(QString::fromUtf8(c.path));
        EXPECT_TRUE(db.DbConnectString().contains(QStringLiteral("Data Source=") +
                                                  QString::fromUtf8(c.written) + u';'))
            << c.path;
        try {
            db.OpenRecordset(QStringLiteral("SELECT * FROM Story"), true);
            ADD_FAILURE() << "opened " << c.path;
        } catch (const platform::DbError& error) {
            EXPECT_EQ(error.description(),
                      QStringLiteral("Could not find file '%1'.").arg(QString::fromUtf8(c.path)));
        }
    }
}

TEST(DatabaseAccess, InitTriesNothingAndTheFirstQueryReportsTheProblem) {
    Library1::DatabaseAccess db;
    EXPECT_NO_THROW(db.InitDatabase(QStringLiteral("/nowhere/book.mdb")));
    try {
        db.OpenRecordset(QStringLiteral("SELECT * FROM Story"), true);
        FAIL() << "no error";
    } catch (const platform::DbError& error) {
        EXPECT_EQ(error.description(), "Could not find file '/nowhere/book.mdb'.");
    }
}

TEST(DatabaseAccess, QueriesBeforeInitAreRefused) {
    Library1::DatabaseAccess db;
    EXPECT_THROW(db.OpenRecordset(QStringLiteral("SELECT 1"), true), platform::DbError);
    EXPECT_THROW(db.ExecuteSql(QStringLiteral("DELETE FROM Story")), platform::DbError);
}

TEST(DatabaseAccess, CloseConnectionLeavesAClosedConnectionInPlace) {
    Library1::DatabaseAccess never;
    EXPECT_EQ(never.DbConnection(), nullptr);
    never.CloseConnection(); // without InitDatabase: created closed, found closed, left
    ASSERT_NE(never.DbConnection(), nullptr);
    EXPECT_EQ(never.DbConnection()->State(), adodb::adStateClosed);

    TempStore store;
    Library1::DatabaseAccess db;
    db.InitDatabase(store.path());
    db.CloseConnection();
    ASSERT_NE(db.DbConnection(), nullptr);
    EXPECT_EQ(db.DbConnection()->ConnectionString, db.DbConnectString());
}

TEST(DatabaseAccess, ReadOnlyFlagChoosesCursorAndLock) {
    TempStore store(QStringLiteral("INSERT INTO Story (BStrID) VALUES ('A')"));
    Library1::DatabaseAccess db;
    db.InitDatabase(store.path());
    const auto readOnly = db.OpenRecordset(QStringLiteral("SELECT * FROM Story"), true);
    const auto updatable = db.OpenRecordset(QStringLiteral("SELECT * FROM Story"), false);
    EXPECT_EQ(readOnly->CursorType(), adodb::adOpenStatic);
    EXPECT_EQ(readOnly->LockType(), adodb::adLockReadOnly);
    EXPECT_EQ(updatable->CursorType(), adodb::adOpenKeyset);
    EXPECT_EQ(updatable->LockType(), adodb::adLockOptimistic);
    // Both open at once, neither through the shared connection object.
    EXPECT_EQ(db.DbConnection()->State(), adodb::adStateClosed);
}

TEST(SqlText, LiteralsDoubleApostrophesAndTrimOnlySpaces) {
    struct Case {
        const char* value;
        const char* literal;
    };
    for (const Case& c :
         {Case{"A0001", "'A0001'"}, Case{"O'NEIL1", "'O''NEIL1'"},
          Case{"x' OR '1'='1", "'x'' OR ''1''=''1'"}, Case{"", "''"}, Case{"''", "''''''"}}) {
        EXPECT_EQ(Library1::SqlLiteral(QString::fromUtf8(c.value)), QString::fromUtf8(c.literal));
    }
    EXPECT_EQ(Library1::TrimSpaces(QStringLiteral("  A 1  ")), "A 1");
    EXPECT_EQ(Library1::TrimSpaces(QStringLiteral("\tA\t")), "\tA\t");
    EXPECT_EQ(Library1::TrimSpaces(QStringLiteral("   ")), "");
}

} // namespace
