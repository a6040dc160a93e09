// The process is killed in the middle of a change that moves 100,000 copies: the store must
// come back sound, with every copy moved or none, and the old story deleted only after its
// copies have all moved.

#include "tests/reliability/big_store.h"
#include "tests/reliability/reliability_report.h"
#include "tests/reliability/worker_process.h"

#include "tests/testkit/gtest_qt.h"

#include <QTemporaryDir>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long long fileSize(const QString& path) {
    struct stat info {};
    return ::stat(path.toLocal8Bit().constData(), &info) == 0 ? info.st_size : -1;
}

QStringList changeArguments(const QString& store) {
    return {QStringLiteral("change"), store, QStringLiteral("OLD-1"), QStringLiteral("NEW-1"),
            QStringLiteral("1")};
}

void pause() {
    std::this_thread::sleep_for(std::chrono::microseconds(100));
}

struct Baseline {
    Clock::duration duration{};
    long long largestJournal = 0;
};

// One change left to finish: how long it takes and how large its rollback journal grows.
Baseline runUninterrupted() {
    QTemporaryDir dir;
    const QString store = big_store::copyInto(dir.path());
    Baseline baseline;
    const auto start = Clock::now();
    WorkerProcess worker(changeArguments(store));
    while (worker.running()) {
        baseline.largestJournal =
            std::max(baseline.largestJournal, fileSize(store + QStringLiteral("-journal")));
        pause();
    }
    baseline.duration = Clock::now() - start;
    EXPECT_EQ(worker.wait(), 0) << worker.output().toStdString();
    const big_store::State state = big_store::read(store);
    EXPECT_TRUE(state.allMoved()) << state.describe().toStdString();
    EXPECT_FALSE(state.oldStory);
    return baseline;
}

// When to kill: once the journal has reached a size, once the worker has reported its
// update (between the two statements), or once some time has passed.
struct KillPoint {
    long long journalBytes = -1;
    bool afterUpdate = false;
    Clock::duration after{};
    QString describe() const {
        if (journalBytes >= 0) {
            return QStringLiteral("journal at %1 bytes").arg(journalBytes);
        }
        if (afterUpdate) {
            return QStringLiteral("once the update was reported");
        }
        return QStringLiteral("after %1 ms")
            .arg(std::chrono::duration_cast<std::chrono::milliseconds>(after).count());
    }
    bool reached(WorkerProcess& worker, const QString& journal, Clock::time_point start) const {
        if (journalBytes >= 0) {
            return fileSize(journal) >= journalBytes;
        }
        if (afterUpdate) {
            return worker.hasLine("updated");
        }
        return Clock::now() - start >= after;
    }
};

struct Tally {
    int kills = 0;
    int hotJournals = 0; // killed with a transaction under way
    int noneMoved = 0;
    int movedKeptStory = 0;
    int movedDeletedStory = 0;
    int sound = 0;
};

TEST(KilledChange, EveryKillLeavesASoundStoreWithEveryCopyMovedOrNone) {
    const Baseline baseline = runUninterrupted();
    ASSERT_GT(baseline.largestJournal, 0) << "the change never wrote a rollback journal";

    std::vector<KillPoint> points;
    for (double fraction : {0.02, 0.25, 0.5, 0.75, 0.95}) {
        points.push_back(
            {static_cast<long long>(fraction * double(baseline.largestJournal)), false, {}});
    }
    points.push_back({-1, true, {}});
    for (double fraction : {0.1, 0.3, 0.5, 0.7, 0.85, 1.0}) {
        points.push_back(
            {-1, false, std::chrono::duration_cast<Clock::duration>(baseline.duration * fraction)});
    }

    Tally tally;
    bool recoveredChangeRerun = false;
    for (const KillPoint& point : points) {
        SCOPED_TRACE(point.describe().toStdString());
        QTemporaryDir dir;
        const QString store = big_store::copyInto(dir.path());
        const QString journal = store + QStringLiteral("-journal");
        const auto start = Clock::now();
        WorkerProcess worker(changeArguments(store));
        while (worker.running()) {
            if (point.reached(worker, journal, start)) {
                break;
            }
            pause();
        }
        worker.kill();
        worker.wait();
        ++tally.kills;
        const bool updateReported = worker.hasLine("updated");
        if (fileSize(journal) > 0) {
            ++tally.hotJournals;
        }

        const big_store::State state = big_store::read(store);
        EXPECT_EQ(state.integrity, "ok");
        EXPECT_TRUE(state.noneMoved() || state.allMoved()) << state.describe().toStdString();
        if (!state.oldStory) {
            EXPECT_TRUE(state.allMoved()) << "the story went before its copies moved";
        }
        if (updateReported) {
            EXPECT_TRUE(state.allMoved()) << "a change reported as done was lost";
        }
        if (state.integrity == QLatin1String("ok") && (state.noneMoved() || state.allMoved())) {
            ++tally.sound;
        }
        tally.noneMoved += state.noneMoved() ? 1 : 0;
        tally.movedKeptStory += state.allMoved() && state.oldStory ? 1 : 0;
        tally.movedDeletedStory += state.allMoved() && !state.oldStory ? 1 : 0;

        // The store a kill left behind takes the same change again.
        if (!recoveredChangeRerun && state.noneMoved()) {
            WorkerProcess again(changeArguments(store));
            EXPECT_EQ(again.wait(), 0) << again.output().toStdString();
            const big_store::State after = big_store::read(store);
            EXPECT_TRUE(after.allMoved() && !after.oldStory) << after.describe().toStdString();
            recoveredChangeRerun = true;
        }
    }
    // Without a kill inside a transaction this test would prove nothing.
    EXPECT_GT(tally.hotJournals, 0);
    reportRow(QStringLiteral("SIGKILL during a change of 100,000 copies (%1 kill points: by "
                             "journal size, between the two statements, and by time)")
                  .arg(tally.kills),
              QStringLiteral("%1/%2 sound and all-or-nothing (%3 mid-transaction; %4 none "
                             "moved, %5 moved, %6 moved and story deleted); never a delete "
                             "without the move")
                  .arg(tally.sound)
                  .arg(tally.kills)
                  .arg(tally.hotJournals)
                  .arg(tally.noneMoved)
                  .arg(tally.movedKeptStory)
                  .arg(tally.movedDeletedStory));
}

} // namespace
