// How opening a store fails: missing, foreign, damaged, wrong password, locked.

#include "data/adodb.h"
#include "data/db_error.h"
#include "data/sqlite_handle.h"
#include "data/sqlite_session.h"
#include "data/sqlite_store.h"
#include "tests/testkit/temp_store.h"
#include "tools/store_writer/store_writer.h"

#include "tests/testkit/gtest_qt.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <functional>

namespace {

QString connectionStringFor(const QString& path, const QString& password) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path +
           QStringLiteral(";Persist Security Info=False;Jet OLEDB:Database Password=") + password;
}

// The description of the error a lookup raises, or "" when it succeeds.
QString lookupError(const QString& connectionString) {
    try {
        adodb::Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM Story Where BStrID = 'A' "), connectionString,
                adodb::adOpenKeyset, adodb::adLockOptimistic);
        rs.Close();
        return QString();
    } catch (const platform::DbError& error) {
        return error.description();
    }
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(StoreFiles, WrongPasswordIsRefused) {
    TempStore store;
    EXPECT_EQ(lookupError(connectionStringFor(store.path(), "kd=74")), "Not a valid password.");
    EXPECT_EQ(lookupError(connectionStringFor(store.path(), "KD=73")), "Not a valid password.");
    EXPECT_EQ(lookupError(connectionStringFor(store.path(), "")), "Not a valid password.");
    EXPECT_EQ(lookupError(store.connectionString()), "");
}

TEST(StoreFiles, PasswordIsNotKeptInPlainText) {
    TempStore store(QString(), QStringLiteral("Secret-Pass-73"));
    QFile file(store.path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_FALSE(bytes.contains("Secret-Pass-73"));
    EXPECT_FALSE(bytes.contains(QStringLiteral("Secret-Pass-73").toUtf8().toBase64()));
}

TEST(StoreFiles, MissingFileOrFolderIsNotFoundAndNothingIsCreated) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("book.mdb"));
    EXPECT_EQ(lookupError(connectionStringFor(missing, "kd=73")),
              QStringLiteral("Could not find file '%1'.").arg(missing));
    EXPECT_FALSE(QFile::exists(missing));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("book.mdb")));
    EXPECT_EQ(lookupError(connectionStringFor(missing, "kd=73")),
              QStringLiteral("Could not find file '%1'.").arg(missing));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
}

struct ForeignCase {
    const char* name;
    std::function<QByteArray(const QByteArray& validStore)> bytes;
};

TEST(StoreFiles, ForeignOrDamagedFilesAreUnrecognized) {
    TempStore valid;
    QFile validFile(valid.path());
    ASSERT_TRUE(validFile.open(QIODevice::ReadOnly));
    const QByteArray store = validFile.readAll();
    const ForeignCase cases[] = {
        {"empty", [](const QByteArray&) { return QByteArray(); }},
        {"text", [](const QByteArray&) { return QByteArray("Story,Book\nA,1\n"); }},
        {"random bytes",
         [](const QByteArray& s) {
             QByteArray r(s.size(), '\0');
             for (int i = 0; i < r.size(); ++i) {
                 r[i] = static_cast<char>((i * 7919 + 13) % 251);
             }
             return r;
         }},
        {"truncated header", [](const QByteArray& s) { return s.left(50); }},
        {"truncated store", [](const QByteArray& s) { return s.left(s.size() / 2); }},
        {"jet 3 file",
         [](const QByteArray&) {
             QByteArray r(4096, '\0');
             r.replace(4, 16, QByteArray("Standard Jet DB\0", 16));
             return r;
         }},
        {"another program's application id",
         [](const QByteArray& s) {
             QByteArray r = s;
             r.replace(68, 4, QByteArray("\0\0\0\1", 4)); // the header's application_id
             return r;
         }},
        {"ace file",
         [](const QByteArray&) {
             QByteArray r(4096, '\0');
             r.replace(4, 16, QByteArray("Standard ACE DB\0", 16));
             r[0x14] = 2;
             return r;
         }},
    };
    for (const ForeignCase& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("book.mdb"));
        writeFile(path, c.bytes(store));
        const QByteArray before = c.bytes(store);
        EXPECT_EQ(lookupError(connectionStringFor(path, "kd=73")),
                  QStringLiteral("Unrecognized database format '%1'.").arg(path))
            << c.name;
        QFile after(path);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll(), before) << c.name << ": the file was changed";
    }
}

TEST(StoreFiles, SqliteFileOfAnotherProgramIsUnrecognized) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.mdb"));
    {
        platform::SqliteDatabase other(
            path, platform::OpenMode::CreateNewFile,
            [](int code, const QString& message) { return platform::DbError(message, code); });
        other.execute(QStringLiteral("CREATE TABLE Story (BStrID TEXT, BStrName TEXT)"));
    }
    EXPECT_EQ(lookupError(connectionStringFor(path, "kd=73")),
              QStringLiteral("Unrecognized database format '%1'.").arg(path));
}

TEST(StoreFiles, ProviderAndEmptyConnectionStringAreRefused) {
    TempStore store;
    QString other = store.connectionString();
    other.replace(QStringLiteral("Microsoft.Jet.OLEDB.4.0"), QStringLiteral("SQLOLEDB"));
    EXPECT_EQ(lookupError(other), "Provider cannot be found. It may not be properly installed.");
    EXPECT_FALSE(lookupError(QString()).isEmpty());
}

TEST(StoreFiles, LockedStoreFailsAfterABoundedWait) {
    TempStore store(QStringLiteral("INSERT INTO Story VALUES ('A', 'x', NULL, NULL, NULL)"));
    platform::StoreWriter holder(store.path(), TempStore::kPassword);
    holder.database().execute(QStringLiteral("BEGIN EXCLUSIVE"));
    QElapsedTimer timer;
    timer.start();
    const QString error = lookupError(store.connectionString());
    const qint64 waited = timer.elapsed();
    EXPECT_TRUE(error.contains(QStringLiteral("already in use"))) << error.toStdString();
    EXPECT_GE(waited, platform::kLockWaitMilliseconds - 500);
    EXPECT_LT(waited, platform::kLockWaitMilliseconds + 3000);
    holder.database().execute(QStringLiteral("ROLLBACK"));
    EXPECT_EQ(lookupError(store.connectionString()), "");
}

} // namespace
