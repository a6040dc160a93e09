#include "tools/demo_store/demo_store.h"

#include "data/sqlite_handle.h"
#include "tools/demo_store/copy_spread.h"
#include "tools/demo_store/demo_words.h"
#include "tools/demo_store/story_codes.h"
#include "tools/store_writer/store_writer.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace demostore {
namespace {

// One stream per purpose: a change in one part of a request leaves the rest of the data
// as it was.
enum Stream : std::uint64_t { kStoryDetails = 1, kCodes, kSpread, kShuffle, kCopies, kSpecials };

struct PlannedStory {
    std::string code;
    std::string name;
    std::optional<std::string> author;
    std::optional<std::string> category;
    std::string addedDate;
    double price = 0;
    int copiesPerVolume = 1;
};

PlannedStory planStory(std::string code, std::string name, SplitMix64& rng) {
    PlannedStory story;
    story.code = std::move(code);
    story.name = std::move(name);
    if (story.name.empty()) {
        story.name = makeTitle(rng);
    }
    story.author = makeAuthor(rng);
    story.category = pickCategory(rng);
    story.addedDate = makeAddedDate(rng);
    story.price = pickPrice(rng);
    story.copiesPerVolume = rng.between(1, 3);
    return story;
}

std::vector<PlannedStory> planStories(const DemoRequest& request) {
    std::vector<PlannedStory> stories;
    stories.reserve(request.specials.size() + static_cast<std::size_t>(request.stories));
    StoryCodeMaker codes(streamFor(request.seed, kCodes));
    SplitMix64 specialRng = streamFor(request.seed, kSpecials);
    for (const SpecialStory& special : request.specials) {
        codes.reserve(special.code);
        stories.push_back(planStory(special.code, special.name, specialRng));
    }
    SplitMix64 detailRng = streamFor(request.seed, kStoryDetails);
    for (std::int64_t i = 0; i < request.stories; ++i) {
        stories.push_back(planStory(codes.next(), std::string(), detailRng));
    }
    return stories;
}

void bindOptionalText(platform::SqliteStatement& statement, int index,
                      const std::optional<std::string>& text) {
    if (text) {
        statement.bindText(index, *text);
    } else {
        statement.bindNull(index);
    }
}

void insertStories(platform::SqliteDatabase& db, const std::vector<PlannedStory>& stories) {
    platform::SqliteStatement insert(
        db, QStringLiteral("INSERT INTO Story (BStrID, BStrName, Author, Category, AddedDate)"
                           " VALUES (?1, ?2, ?3, ?4, ?5)"));
    for (const PlannedStory& story : stories) {
        insert.bindText(1, story.code);
        insert.bindText(2, story.name);
        bindOptionalText(insert, 3, story.author);
        bindOptionalText(insert, 4, story.category);
        insert.bindText(5, story.addedDate);
        insert.step();
        insert.reset();
    }
}

void insertCopies(platform::SqliteDatabase& db, const std::vector<PlannedStory>& stories,
                  const std::vector<std::int64_t>& copiesPerStory,
                  const std::vector<std::int32_t>& owners, SplitMix64& rng) {
    std::vector<std::int64_t> volumes(stories.size());
    for (std::size_t i = 0; i < stories.size(); ++i) {
        volumes[i] =
            std::clamp<std::int64_t>(copiesPerStory[i] / stories[i].copiesPerVolume, 1, 300);
    }
    std::vector<std::int64_t> seen(stories.size());
    platform::SqliteStatement insert(
        db,
        QStringLiteral("INSERT INTO Book (BStrID, VolNo, Price, Status) VALUES (?1, ?2, ?3, ?4)"));
    for (const std::int32_t owner : owners) {
        const auto story = static_cast<std::size_t>(owner);
        insert.bindText(1, stories[story].code);
        insert.bindInt64(2, seen[story]++ % volumes[story] + 1);
        insert.bindDouble(3, stories[story].price);
        insert.bindText(4, pickCopyStatus(rng));
        insert.step();
        insert.reset();
    }
}

// Keeping a sorted index up to date row by row costs more than building it once from the
// finished table, so the Book indexes are set aside during the load and rebuilt from their
// own stored definitions.
std::vector<QString> dropIndexesOf(platform::SqliteDatabase& db, const QString& table) {
    std::vector<std::pair<QString, QString>> indexes;
    {
        platform::SqliteStatement list(
            db, QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index'"
                               " AND tbl_name = ?1 COLLATE NOCASE AND sql IS NOT NULL"));
        list.bindText(1, table.toStdString());
        while (list.step()) {
            indexes.emplace_back(list.value(0).toString(), list.value(1).toString());
        }
    }
    std::vector<QString> definitions;
    for (const auto& [name, sql] : indexes) {
        QString quoted = name;
        quoted.replace(u'"', QStringLiteral("\"\""));
        db.execute(QStringLiteral("DROP INDEX \"%1\"").arg(quoted));
        definitions.push_back(sql);
    }
    return definitions;
}

class Transaction {
public:
    explicit Transaction(platform::SqliteDatabase& db) : db_(db) {
        db_.execute(QStringLiteral("BEGIN IMMEDIATE"));
    }
    ~Transaction() {
        if (open_) {
            try {
                db_.execute(QStringLiteral("ROLLBACK"));
            } catch (...) { // the failure that brought us here is the one to report
            }
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit() {
        db_.execute(QStringLiteral("COMMIT"));
        open_ = false;
    }

private:
    platform::SqliteDatabase& db_;
    bool open_ = true;
};

} // namespace

StoreCounts fillDemoStore(platform::StoreWriter& writer, const DemoRequest& request) {
    checkDemoRequest(request);
    const std::vector<PlannedStory> stories = planStories(request);

    std::vector<std::int64_t> copiesPerStory;
    copiesPerStory.reserve(stories.size());
    for (const SpecialStory& special : request.specials) {
        copiesPerStory.push_back(special.copies);
    }
    SplitMix64 spreadRng = streamFor(request.seed, kSpread);
    const std::vector<std::int64_t> ordinary =
        spreadCopies(request.copies, request.stories, spreadRng);
    copiesPerStory.insert(copiesPerStory.end(), ordinary.begin(), ordinary.end());
    SplitMix64 shuffleRng = streamFor(request.seed, kShuffle);
    const std::vector<std::int32_t> owners = shuffledOwners(copiesPerStory, shuffleRng);

    platform::SqliteDatabase& db = writer.database();
    Transaction transaction(db);
    const std::vector<QString> bookIndexes = dropIndexesOf(db, QStringLiteral("Book"));
    insertStories(db, stories);
    SplitMix64 copyRng = streamFor(request.seed, kCopies);
    insertCopies(db, stories, copiesPerStory, owners, copyRng);
    for (const QString& definition : bookIndexes) {
        db.execute(definition);
    }
    transaction.commit();
    return {static_cast<std::int64_t>(stories.size()), static_cast<std::int64_t>(owners.size())};
}

} // namespace demostore
