// The change on copies of every shop fixture, through the same statements and data-access
// objects as the window: what each change leaves is checked by the independent checker, by
// mdbtools, by our own look at the file's structure and by the counts the window shows; what
// is refused must leave the file byte for byte as it was.

#include "jet/reader/database.h"
#include "jet/reader/general_sort_key.h"
#include "jet/reader/index_search.h"
#include "jet/writer/index_tree_page.h"
#include "jet/writer/locked_file.h"
#include "tests/jet/fixture_files.h"
#include "tests/jet/writer/file_structure_check.h"
#include "tests/jet/writer/jet_copy.h"
#include "tests/jet/writer/jet_oracle.h"

#include "tests/testkit/gtest_qt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

struct Change {
    const char* fixture;
    const char* oldCode;
    const char* newCode;
    bool deleteStory;
    // The start of the error each statement ends in; "" when it succeeds.
    const char* updateError;
    const char* deleteError;
};

const char* const kRelatedRequired = "You cannot add or change a record because a related record";
const char* const kRelatedExist = "The record cannot be deleted or changed because table 'Book'";
const char* const kDuplicate = "The changes you requested to the table were not successful";
const char* const kTooSmall = "The field is too small";
const char* const kUnknownKey = "เปลี่ยนเป็นรหัส";

const Change kChanges[] = {
    // Rows that grow past their pages' room, and a story deleted after its copies moved.
    {"shop-small", "KH-0001", "NEW-0001", true, "", ""},
    {"shop-encoded", "KH-0001", "NEW-0001", true, "", ""},
    {"shop-small", "C0036", "A0005", false, "", ""},
    // Letter case and trailing spaces: five copies match, and the story too.
    {"shop-small", "th-0123  ", "TH-0999", true, "", ""},
    {"shop-small", "O'NEIL1", "O'NEIL2", false, "", ""},
    {"shop-small", "A9999", "W0012", false, "", ""},
    {"shop-small", "NOPE-0001", "A0005", true, "", ""},
    {"shop-small", "C0036", "A/1", false, kUnknownKey, ""},
    {"writer/shop-ri", "C0036", "ZZZ-0001", false, kRelatedRequired, ""},
    {"writer/shop-ri", "C0036", "A0005", true, "", ""},
    {"writer/shop-ri", "th-0123", "TH-0123", false, "", ""},
    {"writer/shop-ri", "W0001", "W0001", true, "", kRelatedExist},
    {"writer/shop-cascade", "TH-0123", "TH-0123", true, "", ""},
    {"writer/shop-multicol", "C0036", "A0005", false, kDuplicate, ""},
    {"writer/shop-multicol", "C0036", "NEW-0001", true, "", ""},
    {"writer/shop-tight", "K1", "KH-000000000099", true, "", ""},
    {"writer/shop-tight", "K10", "K100", false, "", ""},
    {"writer/shop-tight", "KH-000000000001", "K9", true, "", ""},
    {"writer/shop-tight", "K11", "KH-0000000000001", false, kTooSmall, ""},
    {"writer/shop-codes", "A0003", "ขายหัวเราะ", false, "", ""},
    {"writer/shop-codes", "mix-case", "F.G/H_I J", true, "", ""},
    {"writer/shop-codes", "ขายหัวเราะ", "zz.999", true, "", ""},
};

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

using JetChange = JetFixtureTest;

// A statement that ends in an error must have changed nothing at all.
void expectOutcome(const JetCopy& copy, const QString& sql, const char* expected,
                   const std::string& where) {
    const QByteArray before = copy.bytes();
    const QString error = copy.execute(sql);
    const bool refused = *expected != '\0';
    EXPECT_TRUE(refused ? error.startsWith(text(expected)) : error.isEmpty())
        << where << ": " << error.toStdString();
    if (!error.isEmpty()) {
        EXPECT_TRUE(copy.bytes() == before) << where << ": a refused statement changed the file";
    }
    EXPECT_FALSE(QFile::exists(copy.path() + QStringLiteral("-journal"))) << where;
}

TEST_F(JetChange, EachFixtureTakesTheChangeOrRefusesItChangingNothing) {
    for (const Change& change : kChanges) {
        const std::string where =
            std::string(change.fixture) + ": " + change.oldCode + " -> " + change.newCode;
        const JetCopy copy(folder_, text(change.fixture));
        const QString oldCode = text(change.oldCode);
        const QString newCode = text(change.newCode);
        const long long moving = copy.scalar(bookCount(oldCode)).toLongLong();
        const long long staying = copy.scalar(bookCount(newCode)).toLongLong();
        const bool sameKey = copy.scalar(bookCount(oldCode)) == copy.scalar(bookCount(newCode)) &&
                             oldCode.trimmed().compare(newCode.trimmed(), Qt::CaseInsensitive) == 0;

        expectOutcome(copy, codeUpdate(oldCode, newCode), change.updateError, where);
        const bool updated = *change.updateError == '\0';
        if (updated && !sameKey) {
            EXPECT_EQ(copy.scalar(bookCount(newCode)).toLongLong(), staying + moving) << where;
            EXPECT_EQ(copy.scalar(bookCount(oldCode)), QStringLiteral("0")) << where;
        }
        if (updated && change.deleteStory) {
            expectOutcome(copy, storyDeletion(oldCode), change.deleteError, where);
            if (*change.deleteError == '\0') {
                EXPECT_TRUE(copy.query(storyLookup(oldCode)).isEmpty()) << where;
            }
        }

        if (const auto verdict = runJetOracle(copy.path())) {
            EXPECT_TRUE(verdict->sound) << where << "\n" << verdict->output.toStdString();
        } else {
            checkerAbsent();
        }
        const auto problems = structureProblems(QFile::encodeName(copy.path()).toStdString());
        EXPECT_TRUE(problems.empty()) << where << ": " << problems.front();
        for (const QString& table : {QStringLiteral("Story"), QStringLiteral("Book")}) {
            EXPECT_EQ(mdbExportRowCount(copy.path(), table),
                      copy.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt())
                << where << ": " << table.toStdString();
        }
    }
}

TEST_F(JetChange, TheShopProgramsLockFileStopsTheChange) {
    const JetCopy copy(folder_, QStringLiteral("shop-small"));
    QFile lock(QFileInfo(copy.path()).dir().filePath(QStringLiteral("book.ldb")));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    QByteArray record(64, '\0');
    record.replace(0, 7, "SHOP-PC");
    record.replace(32, 5, "Admin");
    lock.write(record);
    lock.close();
    expectOutcome(copy, codeUpdate(QStringLiteral("C0036"), QStringLiteral("A0005")),
                  "Could not update; currently locked by user 'Admin' on machine 'SHOP-PC'.",
                  "lock file");
    ASSERT_TRUE(lock.remove());
    expectOutcome(copy, codeUpdate(QStringLiteral("C0036"), QStringLiteral("A0005")), "",
                  "lock file gone");
}

// The leaf pages of a table's index that hold an entry with key, in the file at path.
std::set<std::uint32_t> leavesHolding(const QString& path, std::size_t table, std::size_t index,
                                      const jet::KeyBytes& key) {
    const jet::Database database(
        jet::PageStore(jet::openFileReadOnly(QFile::encodeName(path).toStdString())));
    const jet::TableDefinition& definition = database.tables().at(table).definition;
    const auto page = [&](std::uint32_t number) {
        return jet::parseIndexPage(*database.pages().page(number), number,
                                   definition.definitionPage);
    };
    jet::IndexTreePage current = page(definition.indexes.at(index).rootPage);
    while (!current.leaf) {
        current = page(current.children.front().page);
    }
    std::set<std::uint32_t> leaves;
    for (;;) {
        for (const jet::IndexEntry& entry : current.entries) {
            if (entry.key == key) {
                leaves.insert(current.number);
            }
        }
        if (current.next == 0) {
            return leaves;
        }
        current = page(current.next);
    }
}

std::set<std::uint32_t> dataPagesOf(const QString& path, std::size_t table, std::size_t index,
                                    const std::u16string& code) {
    const jet::Database database(
        jet::PageStore(jet::openFileReadOnly(QFile::encodeName(path).toStdString())));
    const auto found = jet::lookUpText(
        database.pages(), database.tables().at(table).definition.indexes.at(index), code);
    std::set<std::uint32_t> pages;
    for (const jet::RowLocation row : jet::matchedRows(*found)) {
        pages.insert(row.page);
    }
    return pages;
}

// A change of a few copies to a code of the same length, and the delete of its story, touch
// exactly these pages and no other: the copies' data pages and the index leaves of the old
// and the new code; the story's data page, its leaf and its table's definition (row count).
TEST_F(JetChange, OnlyThePagesTheChangeConcernsDiffer) {
    const JetCopy copy(folder_, QStringLiteral("shop-small"));
    const QByteArray original = copy.bytes();
    constexpr std::size_t kStory = 0;
    constexpr std::size_t kBook = 1;
    const std::u16string oldCode = u"NV 0100";
    const std::u16string newCode = u"NV 0200";
    std::set<std::uint32_t> expected = dataPagesOf(copy.path(), kBook, 1, oldCode);
    for (const std::uint32_t leaf :
         leavesHolding(copy.path(), kBook, 1, *jet::generalSortKey(oldCode))) {
        expected.insert(leaf);
    }
    const auto storyPages = dataPagesOf(copy.path(), kStory, 0, oldCode);
    const auto storyLeaves = leavesHolding(copy.path(), kStory, 0, *jet::generalSortKey(oldCode));
    const QString oldText = QString::fromStdU16String(oldCode);
    ASSERT_EQ(copy.execute(codeUpdate(oldText, QString::fromStdU16String(newCode))), "");
    for (const std::uint32_t leaf :
         leavesHolding(copy.path(), kBook, 1, *jet::generalSortKey(newCode))) {
        expected.insert(leaf);
    }
    const QByteArray updated = copy.bytes();
    EXPECT_EQ(changedPages(original, updated), expected);

    ASSERT_EQ(copy.execute(storyDeletion(oldText)), "");
    const jet::Database database(
        jet::PageStore(jet::openFileReadOnly(QFile::encodeName(copy.path()).toStdString())));
    std::set<std::uint32_t> deletion{database.tables().at(kStory).definition.definitionPage};
    deletion.insert(storyPages.begin(), storyPages.end());
    deletion.insert(storyLeaves.begin(), storyLeaves.end());
    EXPECT_EQ(changedPages(updated, copy.bytes()), deletion);
    EXPECT_EQ(original.size(), copy.bytes().size());
}

} // namespace
