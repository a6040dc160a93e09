#pragma once

#include "jet/reader/page_store.h"

#include <optional>
#include <string>

namespace jet {

// One data page: the rows of one table, stored from the end of the page downwards and found
// through the row offset table after the page header.
class DataPage {
public:
    // Throws ReadError (Damaged) when the page is no data page or its offset table does not fit.
    DataPage(PageRef page, std::uint32_t number);

    std::uint32_t number() const noexcept { return number_; }
    // The table definition page of the table the rows belong to.
    std::uint32_t owner() const;
    std::uint16_t rowCount() const noexcept { return rowCount_; }
    bool isDeleted(std::uint16_t row) const;
    // The row holds only a pointer to where the row really lives.
    bool isOverflowPointer(std::uint16_t row) const;
    // A row runs from its own offset to the offset of the row before it (the page end for the
    // first); throws ReadError (Damaged) when that range is empty or leaves the page.
    Bytes rowBytes(std::uint16_t row) const;
    const PageRef& page() const noexcept { return page_; }

private:
    std::uint16_t slot(std::uint16_t row) const;

    PageRef page_;
    std::uint32_t number_;
    std::uint16_t rowCount_;
};

// What breaks the format's rules for the slots of a data page, or "" when the page keeps them:
// no more rows than a row pointer can name, the slot table inside the page, each row running
// from its offset to the offset of the row before it (the page's end for row 0) and lying
// after the slot table, a row of no bytes only where its slot is flagged deleted (the engine
// takes a deleted row's bytes back), and the free-space count equal to the bytes between the
// slot table and the lowest row.
std::string dataPageLayoutProblem(Bytes page);

struct StoredRow {
    PageRef page; // keeps bytes alive
    Bytes bytes;
    RowLocation location; // where the bytes were found, after any overflow pointer
    RowLocation header;   // the slot the row is known by: indexes point here
};

// The row at location, following an overflow pointer to where the row was moved; nothing
// when the row has been deleted.
std::optional<StoredRow> readLiveRow(const PageStore& pages, RowLocation location);

} // namespace jet
