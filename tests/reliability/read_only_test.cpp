// A store that may not be written, or sits in a folder that may not be written: lookups
// work, the change reports the failure and nothing changes. Root ignores file permissions,
// so the worker runs as an unprivileged user (nobody, 65534) when the tests run as root.

#include "tests/reliability/reliability_report.h"
#include "tests/reliability/worker_process.h"
#include "tests/testkit/temp_store.h"

#include "tests/testkit/gtest_qt.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <optional>

namespace {

constexpr uid_t kUnprivileged = 65534;

struct Case {
    const char* name;
    bool folderWritable;
    bool fileWritable;
};

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool setOwnerAndMode(const QString& path, mode_t mode) {
    const QByteArray name = QFile::encodeName(path);
    if (::geteuid() == 0 && ::chown(name.constData(), kUnprivileged, kUnprivileged) != 0) {
        return false;
    }
    return ::chmod(name.constData(), mode) == 0;
}

WorkerProcess::Options unprivileged() {
    WorkerProcess::Options options;
    if (::geteuid() == 0) {
        options.user = kUnprivileged;
    }
    return options;
}

TEST(ReadOnlyStore, LookupsWorkAndTheChangeFailsWithoutTouchingTheStore) {
    const Case cases[] = {
        {"writable folder and file (the control)", true, true},
        {"read-only file", true, false},
        {"read-only folder", false, true},
        {"read-only file in a read-only folder", false, false},
    };
    int refused = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempStore store(QStringLiteral(
            "INSERT INTO Story (BStrID, BStrName) VALUES ('A0001', 'ขายหัวเราะ'),"
            " ('B0001', 'เจ้าหญิงนิทรา');"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1234)"
            " INSERT INTO Book (BStrID) SELECT 'A0001' FROM n;"
            "INSERT INTO Book (BStrID) VALUES ('B0001'), ('B0001')"));
        ASSERT_TRUE(setOwnerAndMode(store.path(), c.fileWritable ? 0644 : 0444));
        ASSERT_TRUE(setOwnerAndMode(store.folder(), c.folderWritable ? 0755 : 0555));
        const QByteArray before = contents(store.path());

        WorkerProcess lookup({QStringLiteral("lookup"), store.path(), QStringLiteral("A0001")},
                             unprivileged());
        const int lookupExit = lookup.wait();
        if (lookupExit == 125) {
            GTEST_SKIP() << "this machine does not let root switch to user 65534";
        }
        EXPECT_EQ(lookupExit, 0) << lookup.output().toStdString();
        EXPECT_EQ(linesStartingWith(lookup.output(), "name "), QStringList{"ขายหัวเราะ"});
        EXPECT_EQ(linesStartingWith(lookup.output(), "count "), QStringList{"1234"});

        WorkerProcess change({QStringLiteral("change"), store.path(), QStringLiteral("A0001"),
                              QStringLiteral("B0001"), QStringLiteral("1")},
                             unprivileged());
        const int changeExit = change.wait();
        ::chmod(QFile::encodeName(store.folder()).constData(), 0755);

        if (c.folderWritable && c.fileWritable) {
            EXPECT_EQ(changeExit, 0) << change.output().toStdString();
            EXPECT_EQ(store.scalar(QStringLiteral("SELECT COUNT(*) FROM Book WHERE BStrID = "
                                                  "'B0001'")),
                      "1236");
            continue;
        }
        ++refused;
        EXPECT_EQ(changeExit, 3) << change.output().toStdString();
        EXPECT_EQ(errorDescriptions(change.output()),
                  QStringList{QStringLiteral("Cannot update. Database or object is read-only.")})
            << change.output().toStdString();
        EXPECT_FALSE(change.hasLine("updated"));
        EXPECT_EQ(contents(store.path()), before) << "the store was changed";
        EXPECT_EQ(QDir(store.folder()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"book.mdb"});
        EXPECT_EQ(store.scalar(QStringLiteral("PRAGMA integrity_check")), "ok");
    }
    reportRow(QStringLiteral("Read-only store file, read-only folder, both (worker as an "
                             "unprivileged user)"),
              QStringLiteral("lookups answered; %1/%1 changes refused with \"Cannot update. "
                             "Database or object is read-only.\", store byte-identical; the "
                             "writable control changed")
                  .arg(refused));
}

} // namespace
