// Another program holds a write lock on the store while the operator works: lookups answer
// or fail cleanly, the change gives up after a bounded wait with a clear message and leaves
// nothing half-done, and once the lock has gone the same change goes through.

#include "tests/main_window/main_window_harness.h"
#include "tests/main_window/shop_fixture.h"
#include "tests/reliability/reliability_report.h"
#include "tests/reliability/worker_process.h"

#include "tests/testkit/gtest_qt.h"

#include <QElapsedTimer>

namespace {

QString inUse(const QString& path) {
    return QStringLiteral("Could not use '%1'; file already in use. Another program is writing "
                          "to it; try again when it has finished.")
        .arg(path);
}

QString copies(const TempStore& store, const char* code) {
    return store.scalar(
        QStringLiteral("SELECT COUNT(*) FROM Book WHERE BStrID = '%1'").arg(QLatin1String(code)));
}

QString stories(const TempStore& store, const char* code) {
    return store.scalar(
        QStringLiteral("SELECT COUNT(*) FROM Story WHERE BStrID = '%1'").arg(QLatin1String(code)));
}

void lookUp(MainWindowHarness& h, int side, const QString& code) {
    h.box(side)->clear();
    h.type(side, code);
    h.press(side, Qt::Key_Return);
}

// Presses OK, answers Yes; returns how long the window took to come back.
double changeSeconds(MainWindowHarness& h) {
    h.boxes().setNextAnswer(6);
    QElapsedTimer timer;
    timer.start();
    h.clickToolbar("OK");
    return double(timer.elapsed()) / 1000.0;
}

struct LockCase {
    const char* kind; // how the other program locks: "immediate" (a writer) or "exclusive"
    bool lookupsAnswer;
};

TEST(LockedStore, LookupsAnswerOrFailCleanlyAndTheChangeWaitsBoundedThenSucceedsLater) {
    const LockCase cases[] = {{"immediate", true}, {"exclusive", false}};
    QStringList waits;
    for (const LockCase& c : cases) {
        SCOPED_TRACE(c.kind);
        MainWindowHarness h(shopScript());
        ASSERT_TRUE(h.load());
        h.deleteOption()->setChecked(true);
        WorkerProcess holder(
            {QStringLiteral("hold"), h.store().path(), QString::fromLatin1(c.kind)});
        ASSERT_TRUE(holder.waitForLine("holding")) << holder.output().toStdString();

        lookUp(h, 1, QStringLiteral("A0001"));
        if (c.lookupsAnswer) {
            EXPECT_TRUE(h.boxes().shown().empty());
            EXPECT_EQ(h.count(1)->text(), "1,234");
            lookUp(h, 2, QStringLiteral("B0001"));
            EXPECT_EQ(h.count(2)->text(), "2");
        } else {
            ASSERT_EQ(h.boxes().shown().size(), 1u);
            EXPECT_EQ(h.boxes().shown()[0].prompt, inUse(h.store().path()));
            EXPECT_EQ(h.boxes().shown()[0].style, 16);
            EXPECT_EQ(h.box(1)->text(), "A0001"); // kept for another try
            EXPECT_EQ(h.name(1)->text(), "");
            h.box(2)->setText(QStringLiteral("B0001"));
        }
        h.boxes().clear();

        const double waited = changeSeconds(h);
        waits.append(QString::number(waited, 'f', 1));
        // The lock is still held: the change gave up on its own instead of waiting it out.
        EXPECT_TRUE(holder.running());
        ASSERT_EQ(h.boxes().shown().size(), 2u);
        EXPECT_EQ(h.boxes().shown()[1].prompt, inUse(h.store().path()));
        EXPECT_EQ(h.boxes().shown()[1].style, 16);
        EXPECT_EQ(h.box(1)->text(), "A0001");
        EXPECT_EQ(h.box(2)->text(), "B0001");

        holder.closeInput();
        EXPECT_EQ(holder.wait(), 0) << holder.output().toStdString();
        EXPECT_TRUE(holder.hasLine("released"));
        // Nothing of the refused change, nor of the other program's rolled-back insert.
        EXPECT_EQ(copies(h.store(), "A0001"), "1234");
        EXPECT_EQ(copies(h.store(), "B0001"), "2");
        EXPECT_EQ(stories(h.store(), "A0001"), "1");
        EXPECT_EQ(stories(h.store(), "HELD-1"), "0");

        h.boxes().clear();
        changeSeconds(h);
        ASSERT_EQ(h.boxes().shown().size(), 2u);
        EXPECT_EQ(h.boxes().shown()[1].prompt, QStringLiteral("เสร็จสิ้นการบันทึกข้อมูล"));
        EXPECT_EQ(copies(h.store(), "A0001"), "0");
        EXPECT_EQ(copies(h.store(), "B0001"), "1236");
        EXPECT_EQ(stories(h.store(), "A0001"), "0");
        EXPECT_EQ(h.store().scalar(QStringLiteral("PRAGMA integrity_check")), "ok");
    }
    reportRow(QStringLiteral("Another process holds a write lock (a writer's RESERVED lock; an "
                             "EXCLUSIVE lock)"),
              QStringLiteral("lookups answered under the writer's lock and failed cleanly under "
                             "EXCLUSIVE; the change gave up with \"file already in use\" after "
                             "%1 s while the lock was still held, nothing written; the same "
                             "change succeeded once the lock went")
                  .arg(waits.join(QStringLiteral(" s / "))));
}

} // namespace
