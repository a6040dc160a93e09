// The change of a story code as the tool makes it, through its statements and data-access
// objects, killed at calls spread over every step of its commits, and the playback of its
// journal killed too: opened again as the tool opens it, the file is byte for byte as it was
// before the statement cut short or as that statement leaves it, no journal is left, and the
// data layer reads it as such. What the statements leave, the independent checker finds sound.

#include "data/db_error.h"
#include "jet/writer/locked_file.h"
#include "tests/jet/fixture_files.h"
#include "tests/jet/writer/jet_copy.h"
#include "tests/jet/writer/jet_oracle.h"
#include "tests/jet/writer/writer_test_support.h"
#include "tests/reliability/reliability_report.h"

#include "tests/testkit/gtest_qt.h"

#include <csignal>
#include <cstdio>
#include <map>
#include <set>

namespace {

// Under a sanitizer every run of the worker takes several times as long.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kSlowdown = 4;
#else
constexpr long kSlowdown = 1;
#endif

struct Scenario {
    const char* fixture;
    // Stories deleted, statement by statement, once KH-0001's copies have moved to NEW-0001.
    std::vector<QString> deleted;
    // Kill points of the statements and of a playback: every call up to these, or a spread.
    long mostKills;
    long mostPlaybackKills;
};

const Scenario kScenarios[] = {
    // Copies that grow move from page to page; the deletion of C0036 cascades to its copies.
    {"writer/shop-cascade", {QStringLiteral("KH-0001"), QStringLiteral("C0036")}, 1000, 1000},
    // 40,000 copies: about 1,900 pages change, the file grows, index pages split and empty.
    {"shop-large", {}, 64 / kSlowdown, 24 / kSlowdown},
};

const QStringList kCodes = {QStringLiteral("KH-0001"), QStringLiteral("NEW-0001"),
                            QStringLiteral("C0036")};

// What the data layer reads of the file: the copies of each code, then the stories. Opening
// it plays back a journal left beside it.
QStringList observe(const std::string& path) {
    const QString connection = jetConnectionString(QString::fromStdString(path), "kd=73");
    QStringList seen;
    for (const QString& code : kCodes) {
        seen << queryRows(bookCount(code), connection).join(u' ');
    }
    return seen << queryRows(QStringLiteral("SELECT COUNT(*) FROM Story"), connection).join(u' ');
}

struct State {
    std::vector<std::uint8_t> bytes;
    QStringList seen;
};

// Runs the statements in a worker, uninterrupted or killed at the call killAt.
ProgramRun runWorker(const std::string& path, const QStringList& statements, long killAt = 0) {
    std::vector<std::string> arguments{JET_CHANGE_WORKER_PATH, path};
    if (killAt > 0) {
        arguments.insert(arguments.end(), {"kill", std::to_string(killAt)});
    }
    for (const QString& sql : statements) {
        arguments.push_back(sql.toStdString());
    }
    ProgramRun run = runProgram(arguments);
    // A sanitizer's report ends the worker with an exit code of its own.
    EXPECT_TRUE(killAt > 0 || run.exitCode == 0) << run.output;
    return run;
}

class Rig {
public:
    explicit Rig(const std::vector<std::uint8_t>& original) { put(original); }

    const std::string& path() const { return path_; }
    std::string journal() const { return jet::journalPathFor(path_); }

    void put(const std::vector<std::uint8_t>& bytes,
             const std::vector<std::uint8_t>& journalBytes = {}) const {
        std::remove(journal().c_str());
        writeFile(path_, bytes);
        if (!journalBytes.empty()) {
            writeFile(journal(), journalBytes);
        }
    }

    // Opens the file as the tool does and says which of states it is then, states.size()
    // for none of them.
    std::size_t reopen(const std::vector<State>& states) const {
        QStringList seen;
        try {
            seen = observe(path_);
        } catch (const platform::DbError& error) {
            ADD_FAILURE() << "opened again: " << error.description().toStdString();
        }
        EXPECT_FALSE(exists(journal()));
        const std::vector<std::uint8_t> now = fileBytes(path_);
        for (std::size_t i = 0; i < states.size(); ++i) {
            if (now == states[i].bytes) {
                EXPECT_EQ(seen, states[i].seen) << "state " << i;
                return i;
            }
        }
        return states.size();
    }

private:
    TempFolder folder_;
    std::string path_ = folder_.file("book.mdb");
};

// The state before each statement and after the last, each statement run uninterrupted on
// the one before; and the checks that the statements did what the tool means by them.
std::vector<State> statesOf(const Rig& rig, const std::vector<std::uint8_t>& original,
                            const QStringList& statements, const Scenario& scenario) {
    std::vector<State> states{{original, observe(rig.path())}};
    for (const QString& statement : statements) {
        const ProgramRun run = runWorker(rig.path(), {statement});
        EXPECT_TRUE(run.output.starts_with("done\n")) << run.output;
        states.push_back({fileBytes(rig.path()), observe(rig.path())});
        EXPECT_NE(states.back().bytes, states[states.size() - 2].bytes);
    }
    const QStringList& before = states[0].seen;
    EXPECT_EQ(states[1].seen,
              QStringList({"0", QString::number(before[0].toInt() + before[1].toInt()), before[2],
                           before[3]}));
    for (std::size_t i = 0; i < scenario.deleted.size(); ++i) {
        const QStringList& seen = states[i + 2].seen;
        EXPECT_EQ(seen[kCodes.indexOf(scenario.deleted[i])], "0");
        EXPECT_EQ(seen[3].toInt(), states[i + 1].seen[3].toInt() - 1);
    }
    for (std::size_t i = 1; i < states.size(); ++i) {
        const std::string copy = rig.path() + "-state" + std::to_string(i);
        writeFile(copy, states[i].bytes);
        if (const auto verdict = runJetOracle(QString::fromStdString(copy))) {
            EXPECT_TRUE(verdict->sound) << "state " << i << "\n" << verdict->output.toStdString();
        } else {
            checkerAbsent();
        }
        std::remove(copy.c_str());
    }
    return states;
}

std::vector<long> numbersIn(const std::string& text) {
    std::vector<long> numbers;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t used = 0;
        numbers.push_back(std::stol(text.substr(at), &used));
        at += used;
    }
    return numbers;
}

void checkKills(const QString& folder, const Scenario& scenario) {
    const auto original = fileBytes(fixturePath(folder, scenario.fixture).toStdString());
    const Rig rig(original);
    QStringList statements{codeUpdate("KH-0001", "NEW-0001")};
    for (const QString& code : scenario.deleted) {
        statements << storyDeletion(code);
    }
    const auto count = static_cast<std::size_t>(statements.size());
    const std::vector<State> states = statesOf(rig, original, statements, scenario);
    ASSERT_EQ(states.size(), count + 1);

    // All statements in one process, as the tool runs them, come to the same end.
    rig.put(original);
    const ProgramRun whole = runWorker(rig.path(), statements);
    ASSERT_EQ(rig.reopen(states), count) << whole.output;
    const long calls = callsOf(whole);
    std::vector<long> ends;
    for (const std::string& line : linesStartingWith(whole.output, "after ")) {
        ends.push_back(std::stol(line));
    }
    ASSERT_EQ(ends.size(), count);

    // Besides the spread, the first and last call of every step: each write run, each sync,
    // the removal of the journal.
    const std::vector<long> starts = numbersIn(lineStartingWith(whole.output, "starts "));
    std::set<long> points;
    for (const long start : starts) {
        points.insert({start, std::max(start - 1, 1L)});
    }
    for (const long at : pointsUpTo(calls, scenario.mostKills)) {
        points.insert(at);
    }
    std::map<std::pair<std::size_t, std::size_t>, int> outcomes;
    for (const long at : points) {
        SCOPED_TRACE("killed at call " + std::to_string(at) + " of " + std::to_string(calls));
        rig.put(original);
        EXPECT_EQ(runWorker(rig.path(), statements, at).killedWith, SIGKILL);
        const auto statement =
            static_cast<std::size_t>(std::lower_bound(ends.begin(), ends.end(), at) - ends.begin());
        const std::size_t state = rig.reopen(states);
        EXPECT_TRUE(state == statement || state == statement + 1)
            << "killed in statement " << statement << ", left in "
            << (state == states.size() ? "no known state" : "state " + std::to_string(state));
        ++outcomes[{statement, state}];
    }
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_GT((outcomes[{i, i}]), 0) << "no kill in statement " << i << " undid it";
        EXPECT_GT((outcomes[{i, i + 1}]), 0) << "no kill in statement " << i << " kept it";
    }

    // The largest playback: every page of the last statement written, its journal whole (its
    // last steps: sync database, wipe the journal, sync it, remove it, sync the folder).
    const long lastSync = starts[starts.size() - 5];
    rig.put(original);
    ASSERT_EQ(runWorker(rig.path(), statements, lastSync).killedWith, SIGKILL);
    ASSERT_EQ(fileBytes(rig.path()), states.back().bytes);
    const auto journal = fileBytes(rig.journal());
    rig.put(states.back().bytes, journal);
    const long playbackCalls = callsOf(runWorker(rig.path(), {bookCount("KH-0001")}));
    ASSERT_EQ(rig.reopen(states), count - 1);
    const std::vector<long> playbackPoints = pointsUpTo(playbackCalls, scenario.mostPlaybackKills);
    for (const long at : playbackPoints) {
        SCOPED_TRACE("playback killed at call " + std::to_string(at));
        rig.put(states.back().bytes, journal);
        EXPECT_EQ(runWorker(rig.path(), {bookCount("KH-0001")}, at).killedWith, SIGKILL);
        EXPECT_EQ(rig.reopen(states), count - 1);
    }
    reportRow(QStringLiteral("SIGKILL during %1 on a copy of the Jet file `%2` (%3 write and "
                             "sync calls; killed at %4 of them, and at %5 of the %6 calls of the "
                             "journal's playback at the next open)")
                  .arg(count == 1 ? QStringLiteral("the change of 40,000 copies")
                                  : QStringLiteral("a change and two deletes, one cascading"),
                       QString::fromUtf8(scenario.fixture))
                  .arg(calls)
                  .arg(points.size())
                  .arg(playbackPoints.size())
                  .arg(playbackCalls),
              QStringLiteral("every time the file byte for byte as before or as after the "
                             "statement, no journal left, the independent checker finding each "
                             "state sound"));
}

TEST(ChangeCrash, KilledStatementsLeaveTheFileAsBeforeOrAfterThem) {
    const QString folder = fixtureFolder();
    for (const Scenario& scenario : kScenarios) {
        SCOPED_TRACE(scenario.fixture);
        checkKills(folder, scenario);
    }
}

} // namespace
