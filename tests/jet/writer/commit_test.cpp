// A change written through LockedFile reads back as written, appended and cut-off pages
// included, and a change this layer refuses leaves the file byte for byte as it was.

#include "jet/writer/locked_file.h"
#include "jet/writer/write_error.h"
#include "tests/jet/synthetic_jet_file.h"
#include "tests/jet/writer/page_change.h"
#include "tests/jet/writer/writer_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr std::uint32_t kPages = 40;
constexpr auto kTimeout = std::chrono::milliseconds(200);

// Patterned pages behind a real header page, so the reader takes the file as Jet 4.0.
std::vector<std::uint8_t> jetFileOfPatternedPages() {
    std::vector<std::uint8_t> bytes = patternedFile(kPages, 3);
    const jet::PageBuffer header = jettest::headerPage(u"", 0);
    std::copy(header.begin(), header.end(), bytes.begin());
    return bytes;
}

TEST(Commit, ChangedPagesReadBackAndTheFileHasItsNewLength) {
    const struct {
        const char* name;
        PageChange change;
    } cases[] = {
        {"pages rewritten in place", {1, 6, 7, 0}},
        {"pages rewritten and three appended", {2, 3, 10, 3}},
        {"pages rewritten and five cut off", {1, 4, 2, -5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        const std::string path = folder.file("book.mdb");
        const std::vector<std::uint8_t> original = jetFileOfPatternedPages();
        writeFile(path, original);
        const std::vector<std::uint8_t> expected = c.change.applyTo(original);

        const auto file = jet::LockedFile::open(path, kTimeout);
        file->beginWrite();
        file->writePages(c.change.pages(kPages), c.change.newPageCount(kPages));
        file->endWrite();

        const jet::PageStore store(file->reader());
        ASSERT_EQ(store.pageCount(), c.change.newPageCount(kPages));
        for (std::uint32_t number = 0; number < store.pageCount(); ++number) {
            const auto at = expected.begin() + std::ptrdiff_t{number} * jet::kPageSize;
            ASSERT_TRUE(std::equal(at, at + jet::kPageSize, store.page(number)->begin()))
                << "page " << number;
        }
        EXPECT_EQ(fileBytes(path), expected);
        EXPECT_FALSE(exists(jet::journalPathFor(path)));
    }
}

TEST(Commit, RefusesWhatItCannotWriteExactlyAndTouchesNothing) {
    const jet::PageBuffer image{};
    const struct {
        const char* name;
        jet::StoredPages pages;
        std::uint32_t newPageCount;
        std::size_t strayBytes; // bytes after the last whole page
    } cases[] = {
        {"the header page", {{0, image}, {5, image}}, kPages, 0},
        {"a page at the new end", {{5, image}, {kPages, image}}, kPages, 0},
        {"a page past a cut", {{kPages - 2, image}}, kPages - 2, 0},
        {"a gap before an appended page", {{kPages + 1, image}}, kPages + 2, 0},
        {"no pages at all", {}, 0, 0},
        {"a file that is not whole pages", {{5, image}}, kPages, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        const std::string path = folder.file("book.mdb");
        std::vector<std::uint8_t> original = patternedFile(kPages, 5);
        original.resize(original.size() + c.strayBytes, 0x5A);
        writeFile(path, original);

        const auto file = jet::LockedFile::open(path, kTimeout);
        file->beginWrite();
        try {
            file->writePages(c.pages, c.newPageCount);
            ADD_FAILURE() << "the change was accepted";
        } catch (const jet::WriteError& error) {
            EXPECT_EQ(error.kind(), jet::WriteError::Kind::Unsupported) << error.what();
        }
        EXPECT_EQ(fileBytes(path), original);
        EXPECT_FALSE(exists(jet::journalPathFor(path)));
    }
}

} // namespace
