#pragma once

#include "jet/reader/database.h"
#include "jet/writer/data_page_editor.h"
#include "jet/writer/page_edits.h"

#include <functional>
#include <optional>
#include <set>
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

    // Gives each live row known by one of headers the bytes change makes of its current ones
    // (change is told which header). The rows that live on one page are rewritten together
    // where together they fit it, one by one otherwise.
    using RowChange = std::function<std::vector<std::uint8_t>(std::size_t, Bytes)>;
    void rewrite(const std::vector<RowLocation>& headers, const RowChange& change);
    void remove(RowLocation header);
    // Writes the table's row count.
    void finish();

private:
    struct Rewrite {
        RowLocation header;
        std::uint16_t headerFlags = 0;
        RowLocation data; // where the row lives, after any pointer
        std::vector<std::uint8_t> bytes;
    };
    Rewrite resolve(RowLocation header);
    void rewriteOne(const Rewrite& rewrite);
    // An editor of page, which is checked the first time this change edits it.
    DataPageEditor editor(std::uint32_t page);
    RowLocation placeMoved(Bytes row);
    bool canTake(std::uint32_t page, std::size_t rowSize) const;

    PageEdits& edits_;
    const UserTable& table_;
    std::uint32_t removed_ = 0;
    std::optional<std::uint32_t> added_;
    std::optional<std::vector<std::uint32_t>> roomy_;
    std::size_t nextRoomy_ = 0;
    std::vector<bool> checked_; // by page number
};

} // namespace jet
