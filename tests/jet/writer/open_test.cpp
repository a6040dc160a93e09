// Opening takes nothing but an ordinary file, without ever waiting on a FIFO or device, and
// settles a journal left beside it: a whole one is played back, one cut short is removed
// without touching the file.

#include "jet/reader/read_error.h"
#include "jet/writer/locked_file.h"
#include "jet/writer/rollback_journal.h"
#include "jet/writer/write_error.h"
#include "tests/jet/writer/writer_test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimeout = std::chrono::milliseconds(200);

// In a child process as an unprivileged user, so that a FIFO only readable cannot be opened
// for writing either, and a session that waits on one is stopped.
TEST(Open, RefusesAnythingButAnOrdinaryFileAtOnce) {
    const TempFolder folder;
    setOwnerAndMode(folder.path(), 0755);
    const std::string fifo = folder.file("fifo.mdb");
    const std::string readOnlyFifo = folder.file("read-only-fifo.mdb");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    ASSERT_EQ(::mkfifo(readOnlyFifo.c_str(), 0444), 0);
    setOwnerAndMode(readOnlyFifo, 0444);
    ASSERT_EQ(::symlink(fifo.c_str(), folder.file("link.mdb").c_str()), 0);
    const std::string cases[] = {
        fifo,          readOnlyFifo, folder.file("link.mdb"), folder.file("missing.mdb"),
        folder.path(), "/dev/null"};
    for (const std::string& path : cases) {
        SCOPED_TRACE(path);
        const auto start = Clock::now();
        const int outcome = runUnprivileged(
            [&] { return outcomeOf([&] { jet::LockedFile::open(path, kTimeout); }); });
        if (outcome == kCannotChangeUser) {
            GTEST_SKIP() << "this machine does not let root become user " << kUnprivilegedUser;
        }
        EXPECT_EQ(outcome, readErrorCode(jet::ReadError::Kind::Io));
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    }
}

// A file half-way through a change of pages 3 and 7 that also appended two pages, with the
// journal of that change beside it.
struct HalfChangedFile {
    TempFolder folder;
    std::string path = folder.file("book.mdb");
    std::string journal = jet::journalPathFor(path);
    std::vector<std::uint8_t> original = patternedFile(20, 9);
    std::vector<std::uint8_t> halfChanged;

    HalfChangedFile() {
        jet::Journal j{20, {{3, {}}, {7, {}}}};
        for (jet::JournalPage& page : j.pages) {
            std::copy_n(original.begin() + std::ptrdiff_t{page.number} * jet::kPageSize,
                        jet::kPageSize, page.original.begin());
        }
        jet::writeJournal(journal, j, 0644);
        halfChanged = original;
        halfChanged.resize(22 * jet::kPageSize, 0xEE);
        halfChanged[3 * jet::kPageSize] ^= 0xFF;
        halfChanged[7 * jet::kPageSize + 100] ^= 0xFF;
        writeFile(path, halfChanged);
    }

    void editJournal(const std::function<void(std::vector<std::uint8_t>&)>& edit) const {
        std::vector<std::uint8_t> bytes = fileBytes(journal);
        edit(bytes);
        writeFile(journal, bytes);
    }
};

TEST(Open, PlaysBackAWholeJournalAndRemovesOneCutShort) {
    using Bytes = std::vector<std::uint8_t>;
    enum Outcome { PlayedBack, RemovedUnplayed, Refused };
    const struct {
        const char* name;
        std::function<void(Bytes&)> edit;
        Outcome outcome;
    } cases[] = {
        {"whole journal", [](Bytes&) {}, PlayedBack},
        {"last byte missing", [](Bytes& b) { b.pop_back(); }, RemovedUnplayed},
        {"a byte of a page changed", [](Bytes& b) { b[5000] ^= 1; }, RemovedUnplayed},
        {"header only", [](Bytes& b) { b.resize(32); }, RemovedUnplayed},
        {"empty", [](Bytes& b) { b.clear(); }, RemovedUnplayed},
        {"not a journal", [](Bytes& b) { b[0] = 'X'; }, RemovedUnplayed},
        {"a later format", [](Bytes& b) { b[8] = 3; }, Refused},
    };
    for (const auto& c : cases) {
        for (const bool throughLink : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (throughLink ? ", through a link" : ""));
            const HalfChangedFile file;
            file.editJournal(c.edit);
            const TempFolder elsewhere;
            std::string opened = file.path;
            if (throughLink) {
                opened = elsewhere.file("link.mdb");
                ASSERT_EQ(::symlink(file.path.c_str(), opened.c_str()), 0);
            }
            try {
                const auto db = jet::LockedFile::open(opened, kTimeout);
                EXPECT_NE(c.outcome, Refused);
                EXPECT_EQ(db->path(), std::filesystem::canonical(file.path).string());
            } catch (const jet::WriteError& error) {
                EXPECT_EQ(c.outcome, Refused) << error.what();
                EXPECT_EQ(error.kind(), jet::WriteError::Kind::UnfinishedChange);
            }
            EXPECT_EQ(fileBytes(file.path),
                      c.outcome == PlayedBack ? file.original : file.halfChanged);
            EXPECT_EQ(exists(file.journal), c.outcome == Refused);
        }
    }
}

} // namespace
