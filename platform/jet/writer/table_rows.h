#pragma once

#include "database.h"
#include "page_edits.h"

#include <functional>
#include <optional>
#include <vector>

namespace jet {

// The rows of one table as a change rewrites and deletes them. A row keeps the slot it is
// known by, since every index names it there: a row that still fits its page is rewritten
// in place; one that does not moves to a page with room, and its slot becomes a pointer to
// it. Rows moved out go first to pages this change added, then to the pages the table's
// free-space map offers, then to a new page that both the table's maps take in.
class TableRows {
public:
    TableRows(PageEdits& edits, const UserTable& table);

    // Gives the live row known by header the bytes change makes of its current ones.
    void rewrite(RowLocation header, const std::function<std::vector<std::uint8_t>(Bytes)>& change);
    void remove(RowLocation header);
    // Writes the table's row count.
    void finish();

private:
    RowLocation placeMoved(Bytes row);
    bool canTake(std::uint32_t page, std::size_t rowSize) const;

    PageEdits& edits_;
    const UserTable& table_;
    std::uint32_t removed_ = 0;
    std::optional<std::uint32_t> added_;
    std::optional<std::vector<std::uint32_t>> roomy_;
    std::size_t nextRoomy_ = 0;
};

} // namespace jet
