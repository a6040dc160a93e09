// The disk fills during a change of 100,000 copies. A file-size limit on the worker stands in
// for the full disk: every write past it fails, in the rollback journal or in the store.

#include "tests/reliability/big_store.h"
#include "tests/reliability/reliability_report.h"
#include "tests/reliability/worker_process.h"

#include "tests/testkit/gtest_qt.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

TEST(DiskFull, TheChangeFailsClearlyAndTheStoreStaysWhole) {
    QTemporaryDir probe;
    const long long storeSize = QFileInfo(big_store::copyInto(probe.path())).size();
    struct Case {
        const char* name;
        long long limit;
        bool mustFail; // the journal alone needs more than this
    };
    const Case cases[] = {
        {"room for 16 KiB", 16 * 1024, true},
        {"room for 256 KiB", 256 * 1024, true},
        {"room for 1 MiB", 1024 * 1024, true},
        {"the store may not grow", storeSize, false},
        {"the store may grow by 8 KiB", storeSize + 8 * 1024, false},
    };
    int failedClearly = 0;
    int succeeded = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString store = big_store::copyInto(dir.path());
        WorkerProcess::Options options;
        options.fileSizeLimit = c.limit;
        WorkerProcess worker({QStringLiteral("change"), store, QStringLiteral("OLD-1"),
                              QStringLiteral("NEW-1"), QStringLiteral("1")},
                             options);
        const int exit = worker.wait();
        const big_store::State state = big_store::read(store);
        EXPECT_EQ(state.integrity, "ok");
        if (exit == 0) {
            EXPECT_FALSE(c.mustFail) << "the change cannot fit, yet it reported success";
            EXPECT_TRUE(state.allMoved() && !state.oldStory) << state.describe().toStdString();
            ++succeeded;
            continue;
        }
        EXPECT_EQ(exit, 3) << worker.output().toStdString();
        EXPECT_EQ(errorDescriptions(worker.output()),
                  QStringList{QStringLiteral("Not enough space on disk.")})
            << worker.output().toStdString();
        EXPECT_TRUE(state.noneMoved()) << state.describe().toStdString();
        EXPECT_FALSE(worker.hasLine("updated"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"book.mdb"});
        ++failedClearly;
    }
    reportRow(QStringLiteral("Disk full during a change of 100,000 copies (file-size limit, %1 "
                             "sizes from 16 KiB to the store's own size)")
                  .arg(std::size(cases)),
              QStringLiteral("%1 failed with \"Not enough space on disk.\" and nothing moved, %2 "
                             "had room and completed; integrity ok every time")
                  .arg(failedClearly)
                  .arg(succeeded));
}

} // namespace
