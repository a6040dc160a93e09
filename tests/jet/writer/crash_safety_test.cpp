// A change cut short at any call that writes or syncs, by SIGKILL or by the call failing,
// leaves the file, once opened again, exactly as it was or exactly as the change meant it,
// and no journal. So does a playback of the journal that is itself killed. The worker's calls
// are counted by link-time wrappers, so every kill point is reached deterministically.

#include "jet/writer/locked_file.h"
#include "jet/writer/write_error.h"
#include "tests/jet/writer/page_change.h"
#include "tests/jet/writer/writer_test_support.h"
#include "tests/testkit/shared_material.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

enum class State { Original, Changed, Neither };

class CrashRig {
public:
    CrashRig(std::vector<std::uint8_t> original, PageChange change)
        : path_(folder_.file("book.mdb")), original_(std::move(original)),
          changed_(change.applyTo(original_)), change_(change) {
        writeFile(path_, original_);
    }

    ProgramRun commit(const std::string& fault = "", long at = 0) const {
        return run({"commit", path_, change_.text()}, fault, at);
    }
    ProgramRun open(const std::string& fault = "", long at = 0) const {
        return run({"open", path_}, fault, at);
    }

    // Opens the file as the tool does, playing back what the worker left, and says in what
    // state that leaves it; then puts the original back for the next run.
    State reopenAndReset() const {
        const bool journalBefore = exists(journalPath());
        jet::LockedFile::open(path_, std::chrono::seconds(1)).reset();
        EXPECT_FALSE(exists(journalPath())) << "journal before the open: " << journalBefore;
        const std::vector<std::uint8_t> now = fileBytes(path_);
        const State state = now == original_  ? State::Original
                            : now == changed_ ? State::Changed
                                              : State::Neither;
        if (state != State::Original) {
            writeFile(path_, original_);
        }
        return state;
    }

    std::string journalPath() const { return jet::journalPathFor(path_); }
    bool holdsChangeAndJournal() const {
        return fileBytes(path_) == changed_ && exists(journalPath());
    }

private:
    ProgramRun run(std::vector<std::string> arguments, const std::string& fault, long at) const {
        arguments.insert(arguments.begin(), CRASH_WORKER_PATH);
        if (!fault.empty()) {
            arguments.push_back(fault);
            arguments.push_back(std::to_string(at));
        }
        return runProgram(arguments);
    }

    TempFolder folder_;
    std::string path_;
    std::vector<std::uint8_t> original_;
    std::vector<std::uint8_t> changed_;
    PageChange change_;
};

void checkEveryStop(const std::vector<std::uint8_t>& original, const PageChange& change,
                    long mostPoints) {
    const CrashRig rig(original, change);
    const ProgramRun whole = rig.commit();
    ASSERT_EQ(lineStartingWith(whole.output, "result "), "ok") << whole.output;
    // The order a kill cannot test, for a power cut: nothing touches the file before its
    // journal is synced with the folder, and the journal is wiped (and synced) only once the
    // file is synced, before it goes. A call the wrappers missed would be missing here, so the
    // kills below do reach them all.
    EXPECT_EQ(lineStartingWith(whole.output, "trace "),
              std::string("write journal, sync journal, sync folder, write database, ") +
                  (change.grow < 0 ? "truncate database, " : "") +
                  "sync database, write journal, sync journal, remove journal, sync folder");
    const long calls = callsOf(whole);
    ASSERT_EQ(rig.reopenAndReset(), State::Changed);

    int seen[3] = {};
    const std::vector<long> points = pointsUpTo(calls, mostPoints);
    for (const long at : points) {
        SCOPED_TRACE("killed at call " + std::to_string(at) + " of " + std::to_string(calls));
        EXPECT_EQ(rig.commit("kill", at).killedWith, SIGKILL);
        ++seen[static_cast<int>(rig.reopenAndReset())];
    }
    EXPECT_EQ(seen[static_cast<int>(State::Neither)], 0);
    EXPECT_GT(seen[static_cast<int>(State::Original)], 0);
    EXPECT_GT(seen[static_cast<int>(State::Changed)], 0);

    for (const long at : points) {
        SCOPED_TRACE("call " + std::to_string(at) + " failed");
        const ProgramRun failed = rig.commit("fail", at);
        EXPECT_FALSE(exists(rig.journalPath())) << "a failed change left its journal";
        const std::string result = lineStartingWith(failed.output, "result ");
        EXPECT_EQ(rig.reopenAndReset(), result == "ok" ? State::Changed : State::Original)
            << failed.output;
        if (result != "ok") {
            // The worker makes writes fail for want of room, syncs and removals for an error.
            const bool room = lineStartingWith(failed.output, "failed ") == "pwrite" ||
                              lineStartingWith(failed.output, "failed ") == "ftruncate";
            const auto kind = room ? jet::WriteError::Kind::DiskFull : jet::WriteError::Kind::Io;
            EXPECT_EQ(result.rfind("error " + std::to_string(static_cast<int>(kind)) + " ", 0), 0u)
                << failed.output;
        }
    }

    // A change reported done stays done: a journal whose removal a power cut undoes comes back
    // wiped, as one stopped at its removal is, and the next open keeps the change.
    ASSERT_EQ(rig.commit("kill", calls - 1).killedWith, SIGKILL);
    ASSERT_TRUE(rig.holdsChangeAndJournal());
    ASSERT_EQ(rig.reopenAndReset(), State::Changed);

    // A journal left with every page written, before it is wiped: the largest playback there
    // is.
    const long wipe = calls - 3;
    ASSERT_EQ(rig.commit("kill", wipe).killedWith, SIGKILL);
    ASSERT_TRUE(rig.holdsChangeAndJournal());
    const ProgramRun playback = rig.open();
    EXPECT_EQ(lineStartingWith(playback.output, "trace "),
              "write database, truncate database, sync database, remove journal, sync folder");
    ASSERT_EQ(rig.reopenAndReset(), State::Original);
    const std::vector<long> playbackPoints = pointsUpTo(callsOf(playback), mostPoints / 2);
    for (const long at : playbackPoints) {
        SCOPED_TRACE("playback killed at call " + std::to_string(at));
        ASSERT_EQ(rig.commit("kill", wipe).killedWith, SIGKILL);
        EXPECT_EQ(rig.open("kill", at).killedWith, SIGKILL);
        EXPECT_EQ(rig.reopenAndReset(), State::Original);
    }
    std::printf("%zu kill and %zu failure points of %ld calls; %zu kill points of a playback "
                "of %ld calls\n",
                points.size(), points.size(), calls, playbackPoints.size(), callsOf(playback));
}

TEST(CrashSafety, SmallChangesStoppedAtEveryCall) {
    const struct {
        const char* name;
        PageChange change;
    } cases[] = {
        {"pages rewritten and two appended", {1, 12, 3, 2}},
        {"pages rewritten and four cut off", {2, 6, 5, -4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        checkEveryStop(patternedFile(40, 7), c.change, 1000);
    }
}

TEST(CrashSafety, HundredsOfPagesOfTheLargeShopFileStoppedAtASpreadOfCalls) {
    const auto original = fileBytes(testDataDir().toStdString() + "/jet/shop-large.mdb");
    checkEveryStop(original, {1, 400, 8, 16}, 120);
}

} // namespace
