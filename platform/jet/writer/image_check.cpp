#include "jet/writer/image_check.h"

#include "jet/reader/rc4.h"
#include "jet/writer/image_check_parts.h"
#include "jet/writer/write_error.h"

#include <algorithm>
#include <cstring>

namespace jet {
namespace image_check {
namespace {

// The plan's pages as the reader reads them: decoded where the file encodes its pages.
StoredPages decodedPages(const PageStore& file, const StoredPages& pages) {
    StoredPages decoded;
    const std::uint32_t key = file.header().databaseKey;
    if (key == 0) {
        return decoded;
    }
    for (const auto& [number, stored] : pages) {
        PageBuffer& page = decoded.emplace(number, stored).first->second;
        applyPageRc4(key, number, page);
    }
    return decoded;
}

std::set<std::uint32_t> differingPages(const PageStore& file, const StoredPages& pages) {
    std::set<std::uint32_t> differing;
    // Pages as stored are pages as decoded where the file does not encode its pages, and the
    // plan has just read those.
    const bool plain = file.header().databaseKey == 0;
    PageBuffer stored{};
    for (const auto& [number, image] : pages) {
        if (number >= file.pageCount()) {
            differing.insert(number);
            continue;
        }
        if (plain) {
            stored = *file.page(number);
        } else {
            file.source().read(std::uint64_t{number} * kPageSize, stored);
        }
        if (stored != image) {
            differing.insert(number);
        }
    }
    return differing;
}

void checkAll(const Database& database, const PlannedWrite& plan, const Request& request) {
    try {
        const Images images(database, plan);
        if (images.written.contains(0)) {
            fail("the plan rewrites the header page");
        }
        const Changes changes = checkRows(images, request);
        KeyChanges keys;
        const IndexPages indexes = checkIndexes(images, changes, plan, keys);
        checkRelationships(images, changes, keys);
        checkMapsAndPages(images, changes, indexes);
    } catch (const ReadError& error) {
        fail(std::string("the planned file cannot be read back: ") + error.what());
    }
}

} // namespace

void fail(const std::string& what) {
    refuseUnsupported("the check before writing found that " + what);
}

std::string rowName(RowLocation row) {
    return "row " + std::to_string(row.row) + " of page " + std::to_string(row.page);
}

std::string tableName(const UserTable& table) {
    return "table " + utf8(table.name);
}

Images::Images(const Database& file, const PlannedWrite& plan)
    : database(file), before(file.pages()), decoded_(decodedPages(file.pages(), plan.pages)),
      after(file.pages(), file.pages().header().databaseKey == 0 ? plan.pages : decoded_,
            plan.pageCount),
      written(differingPages(file.pages(), plan.pages)) {}

const UserTable* Images::table(std::uint32_t definitionPage) const {
    for (const UserTable& table : database.tables()) {
        if (table.definition.definitionPage == definitionPage) {
            return &table;
        }
    }
    return nullptr;
}

} // namespace image_check

void checkPlannedUpdate(const Database& database, const TableUpdate& update,
                        const PlannedWrite& plan) {
    image_check::Request request;
    request.table = update.table;
    request.column = update.column;
    for (const RowUpdate& row : update.rows) {
        request.updates.emplace_back(row.row, &row.text);
    }
    const auto byRow = [](const auto& a, const auto& b) { return a.first < b.first; };
    std::stable_sort(request.updates.begin(), request.updates.end(), byRow);
    request.updates.erase(
        std::unique(request.updates.begin(), request.updates.end(),
                    [](const auto& a, const auto& b) { return a.first == b.first; }),
        request.updates.end());
    image_check::checkAll(database, plan, request);
}

void checkPlannedDeletion(const Database& database, const TableDeletion& deletion,
                          const PlannedWrite& plan) {
    image_check::Request request;
    request.table = deletion.table;
    request.deletions = deletion.rows;
    std::sort(request.deletions.begin(), request.deletions.end());
    request.deletions.erase(std::unique(request.deletions.begin(), request.deletions.end()),
                            request.deletions.end());
    image_check::checkAll(database, plan, request);
}

} // namespace jet
