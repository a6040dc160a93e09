// The index tree editor under many more entries than the shop files hold: long keys make
// trees of three and four levels, whose pages split, empty out, lose and regain their tails
// and move the root's content down. After every round the tree must hold exactly the entries
// a plain sorted set holds, and keep the shape the engine keeps.

#include "jet/reader/database.h"
#include "jet/writer/index_tree.h"
#include "jet/writer/page_edits.h"
#include "tests/jet/fixture_files.h"
#include "tests/jet/writer/file_structure_check.h"
#include "tests/jet/writer/jet_copy.h"

#include "tests/testkit/gtest_qt.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <random>
#include <set>

namespace {

using jet::IndexEntry;

// Writes what a round changed straight into the file: this suite is about the tree, not
// about how a change reaches the disk.
void writePages(const std::string& path, const jet::StoredPages& pages, std::uint32_t count) {
    const int fd = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    for (const auto& [number, page] : pages) {
        ASSERT_EQ(::pwrite(fd, page.data(), page.size(), static_cast<off_t>(number) * 4096), 4096);
    }
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(count) * 4096), 0);
    ::close(fd);
}

std::vector<IndexEntry> walkLeaves(const jet::PageStore& pages, std::uint32_t root,
                                   std::uint32_t owner) {
    jet::IndexTreePage page = jet::parseIndexPage(*pages.page(root), root, owner);
    while (!page.leaf) {
        const std::uint32_t first = page.children.front().page;
        page = jet::parseIndexPage(*pages.page(first), first, owner);
    }
    std::vector<IndexEntry> entries = page.entries;
    while (page.next != 0) {
        const std::uint32_t next = page.next;
        page = jet::parseIndexPage(*pages.page(next), next, owner);
        entries.insert(entries.end(), page.entries.begin(), page.entries.end());
    }
    return entries;
}

IndexEntry randomEntry(std::mt19937& random) {
    IndexEntry entry;
    entry.key.push_back(0x7F);
    const std::size_t size = 200 + random() % 200;
    // Few distinct leading bytes: long runs of entries share long prefixes.
    for (std::size_t i = 0; i < size; ++i) {
        entry.key.push_back(static_cast<std::uint8_t>(i < 40 ? 0x40 + random() % 3 : random()));
    }
    entry.row = {1 + static_cast<std::uint32_t>(random() % 5000),
                 static_cast<std::uint8_t>(random())};
    return entry;
}

struct Round {
    const char* what;
    std::size_t inserted;
    double removedShare; // of the entries there before the round
};

TEST(IndexTree, KeepsEveryEntryAndTheEngineShapeThroughGrowthAndShrinking) {
    const QString folder = fixtureFolder();
    const JetCopy copy(folder, QStringLiteral("shop-small"));
    ASSERT_TRUE(QFile::exists(copy.path()));
    const std::string path = QFile::encodeName(copy.path()).toStdString();

    std::mt19937 random(20261207);
    std::set<IndexEntry> model;
    bool first = true;
    const Round rounds[] = {{"grow to three levels", 600, 0.0},
                            {"grow to four levels", 2000, 0.0},
                            {"thin out", 0, 0.7},
                            {"churn", 1000, 0.5},
                            {"empty all but a few", 0, 0.995},
                            {"empty", 0, 1.0},
                            {"grow again from an empty root", 1500, 0.0}};
    for (const Round& round : rounds) {
        SCOPED_TRACE(round.what);
        const jet::Database database(jet::PageStore(jet::openFileReadOnly(path)));
        const jet::UserTable& book = database.tables().at(1);
        ASSERT_EQ(book.name, u"Book");
        const jet::IndexDefinition& index = book.definition.indexes.at(1);
        if (first) {
            for (const IndexEntry& entry :
                 walkLeaves(database.pages(), index.rootPage, book.definition.definitionPage)) {
                model.insert(entry);
            }
            first = false;
        }
        std::vector<IndexEntry> removed;
        for (const IndexEntry& entry : model) {
            if (std::uniform_real_distribution<>(0, 1)(random) < round.removedShare) {
                removed.push_back(entry);
            }
        }
        std::vector<IndexEntry> added;
        while (added.size() < round.inserted) {
            IndexEntry entry = randomEntry(random);
            if (!model.contains(entry)) {
                added.push_back(std::move(entry));
            }
        }
        jet::PageEdits edits(database.pages());
        jet::IndexTree tree(edits, index, book.definition.definitionPage);
        tree.remove(removed);
        tree.insert(added);
        tree.finish();
        writePages(path, edits.takeStoredPages(), edits.pageCount());
        for (const IndexEntry& entry : removed) {
            model.erase(entry);
        }
        model.insert(added.begin(), added.end());

        const jet::Database after(jet::PageStore(jet::openFileReadOnly(path)));
        const auto held = walkLeaves(after.pages(), index.rootPage, book.definition.definitionPage);
        EXPECT_TRUE(std::equal(held.begin(), held.end(), model.begin(), model.end()))
            << round.what << ": " << held.size() << " entries held, " << model.size() << " meant";
        const auto problems = structureProblems(path);
        EXPECT_TRUE(problems.empty()) << round.what << ": " << problems.front();
    }
}

} // namespace
