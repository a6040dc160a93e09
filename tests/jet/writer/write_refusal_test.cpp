// A change the file, its folder or the shop program does not allow is refused before anything
// is written, and a journal that cannot be played back keeps the file from being read. Root
// ignores file permissions, so when the tests run as root the sessions run in a child process
// as an unprivileged user.

#include "jet/writer/locked_file.h"
#include "jet/writer/rollback_journal.h"
#include "jet/writer/shop_lock_file.h"
#include "jet/writer/write_error.h"
#include "tests/jet/writer/writer_test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace {

using Kind = jet::WriteError::Kind;
constexpr auto kTimeout = std::chrono::milliseconds(200);

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A lock file of 64-byte records: machine name, then user name, NUL-padded.
std::vector<std::uint8_t> lockRecords(const std::vector<std::pair<std::string, std::string>>& r) {
    std::vector<std::uint8_t> bytes(r.size() * 64, 0);
    for (std::size_t i = 0; i < r.size(); ++i) {
        std::copy(r[i].first.begin(), r[i].first.end(), bytes.begin() + std::ptrdiff_t(i * 64));
        std::copy(r[i].second.begin(), r[i].second.end(),
                  bytes.begin() + std::ptrdiff_t(i * 64 + 32));
    }
    return bytes;
}

TEST(WriteRefusal, NothingIsWrittenWhenTheFileFolderOrShopProgramSaysNo) {
    const struct {
        const char* name;
        mode_t fileMode;
        mode_t folderMode;
        std::function<void(const std::string& lockFile)> makeLockFile;
        int outcome;
        std::string detail;
    } cases[] = {
        {"writable, no lock file (the control)", 0644, 0755, nullptr, 0, ""},
        {"read-only file", 0444, 0755, nullptr, writeErrorCode(Kind::ReadOnly), "*"},
        {"read-only folder", 0644, 0555, nullptr, writeErrorCode(Kind::ReadOnly), "*"},
        {"empty lock file", 0644, 0755, [](auto& p) { writeFile(p, {}); }, 0, ""},
        {"lock file naming nobody", 0644, 0755,
         [](auto& p) {
             writeFile(p, lockRecords({{"", "Admin"}, {"", ""}}));
         },
         0, ""},
        {"lock file naming a user", 0644, 0755,
         [](auto& p) {
             writeFile(p, lockRecords({{"", "ghost"}, {"SHOP-PC", "Admin"}, {"BACK", "Bee"}}));
         },
         writeErrorCode(Kind::InUseByShopProgram), "Admin\nSHOP-PC"},
        {"unreadable lock file", 0644, 0755,
         [](auto& p) {
             writeFile(p, lockRecords({{"SHOP-PC", "Admin"}}));
             setOwnerAndMode(p, 0);
         },
         writeErrorCode(Kind::InUseByShopProgram), ""},
        {"lock file that is a FIFO", 0644, 0755, [](auto& p) { ::mkfifo(p.c_str(), 0644); },
         writeErrorCode(Kind::InUseByShopProgram), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        const std::string path = folder.file("book.mdb");
        const std::vector<std::uint8_t> original = patternedFile(8, 2);
        writeFile(path, original);
        if (c.makeLockFile) {
            c.makeLockFile(folder.file("book.ldb"));
        }
        const std::vector<std::string> namesBefore = namesIn(folder.path());
        setOwnerAndMode(path, c.fileMode);
        setOwnerAndMode(folder.path(), c.folderMode);

        const jet::StoredPages pages{{3, jet::PageBuffer{}}, {8, jet::PageBuffer{}}};
        const int outcome = runUnprivileged([&] {
            return outcomeOf(
                [&] {
                    const auto file = jet::LockedFile::open(path, kTimeout);
                    file->beginWrite();
                    file->writePages(pages, 9);
                },
                c.detail);
        });
        ::chmod(folder.path().c_str(), 0755);
        if (outcome == kCannotChangeUser) {
            GTEST_SKIP() << "this machine does not let root become user " << kUnprivilegedUser;
        }
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(namesIn(folder.path()), namesBefore);
        if (c.outcome != 0) {
            EXPECT_EQ(fileBytes(path), original);
        } else {
            EXPECT_EQ(fileBytes(path).size(), 9 * jet::kPageSize) << "the control did not write";
        }
    }
}

TEST(WriteRefusal, AJournalThatCannotBePlayedBackKeepsTheFileFromBeingOpened) {
    const struct {
        const char* name;
        mode_t fileMode;
        mode_t folderMode;
    } cases[] = {
        {"read-only file", 0444, 0755},
        {"read-only folder", 0644, 0555},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        const std::string path = folder.file("book.mdb");
        const std::vector<std::uint8_t> halfChanged = patternedFile(8, 4);
        writeFile(path, halfChanged);
        jet::Journal whole{8, {{3, {}}}};
        whole.pages[0].original.fill(0x33);
        jet::writeJournal(jet::journalPathFor(path), whole, 0644);
        const std::vector<std::uint8_t> journal = fileBytes(jet::journalPathFor(path));
        setOwnerAndMode(path, c.fileMode);
        setOwnerAndMode(folder.path(), c.folderMode);

        const int outcome = runUnprivileged(
            [&] { return outcomeOf([&] { jet::LockedFile::open(path, kTimeout); }); });
        ::chmod(folder.path().c_str(), 0755);
        if (outcome == kCannotChangeUser) {
            GTEST_SKIP() << "this machine does not let root become user " << kUnprivilegedUser;
        }
        EXPECT_EQ(outcome, writeErrorCode(Kind::UnfinishedChange));
        EXPECT_EQ(fileBytes(path), halfChanged);
        EXPECT_EQ(fileBytes(jet::journalPathFor(path)), journal);
    }
}

TEST(WriteRefusal, TheShopProgramsLockFileSitsBesideTheDatabase) {
    const std::pair<std::string, std::string> cases[] = {
        {"/shop/book.mdb", "/shop/book.ldb"},
        {"/shop/book", "/shop/book.ldb"},
        {"/shop.v2/book", "/shop.v2/book.ldb"},
        {"/shop/book.old.mdb", "/shop/book.old.ldb"},
    };
    for (const auto& [database, lockFile] : cases) {
        EXPECT_EQ(jet::shopLockFilePathFor(database), lockFile);
    }
}

} // namespace
