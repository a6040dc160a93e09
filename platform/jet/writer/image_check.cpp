#include "image_check.h"

#include "image_check_parts.h"
#include "write_error.h"

#include <algorithm>
#include <cstring>

namespace jet {
namespace image_check {
namespace {

// The file's stored bytes with the plan's pages put over them.
class PlannedSource final : public ByteSource {
public:
    PlannedSource(const ByteSource& file, const StoredPages& pages, std::uint32_t pageCount)
        : file_(file), pages_(pages), size_(std::uint64_t{pageCount} * kPageSize) {}

    std::uint64_t size() const override { return size_; }

    void read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        if (offset > size_ || out.size() > size_ - offset) {
            throwDamaged("a read past the end of the planned file");
        }
        while (!out.empty()) {
            const auto page = static_cast<std::uint32_t>(offset / kPageSize);
            const std::size_t within = offset % kPageSize;
            const std::size_t count = std::min(out.size(), kPageSize - within);
            if (const auto planned = pages_.find(page); planned != pages_.end()) {
                std::memcpy(out.data(), planned->second.data() + within, count);
            } else {
                file_.read(offset, out.first(count));
            }
            out = out.subspan(count);
            offset += count;
        }
    }

private:
    const ByteSource& file_;
    const StoredPages& pages_;
    std::uint64_t size_;
};

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
    : database(file), before(file.pages()),
      after(std::make_unique<PlannedSource>(file.pages().source(), plan.pages, plan.pageCount)),
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
