#pragma once

#include "jet/format/jet_format.h"
#include "jet/reader/byte_order.h"
#include "jet/reader/page_store.h"

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace jet {

inline constexpr std::uint16_t kRowDeleted = layout::kSlotDeleted;
inline constexpr std::uint16_t kRowOverflowPointer = layout::kSlotOverflowPointer;
inline constexpr std::size_t kDataPageHeader = layout::kDataSlotsAt;

// Row `row` of a data page, read where it lies; refuses (Unsupported) a row the page does not
// hold within its bounds.
Bytes dataRow(const PageBuffer& page, std::uint32_t number, std::uint8_t row);

// Changes the rows of one data page in place. A data page keeps its rows packed from the end
// of the page downwards in slot order, row i ending where row i - 1 starts (a deleted row may
// have no bytes at all), and its free-space field equal to the bytes between the slot table
// and the lowest row; a page that breaks any of this (dataPageLayoutProblem) is refused
// (Unsupported) when the editor is made, so every change below keeps a page exactly as the
// engine keeps it.
class DataPageEditor {
public:
    DataPageEditor(PageBuffer& page, std::uint32_t number);

    // An editor of a page that an editor has checked before and that only editors have
    // changed since: it keeps the rules, and checking it again on every row would cost more
    // than the change.
    static DataPageEditor resumed(PageBuffer& page, std::uint32_t number);

    std::uint16_t rowCount() const noexcept { return rowCount_; }
    std::uint16_t freeSpace() const;
    std::uint16_t flags(std::uint8_t row) const;
    Bytes row(std::uint8_t row) const;

    // Gives row new bytes of any size, moving the rows stored below it; the change in size must
    // fit the free space. Flags stay.
    void replaceRow(std::uint8_t row, Bytes bytes);
    // Gives several rows new bytes at once (rows: by ascending row), the page's rows packed
    // anew in one pass; together they must fit the free space. Flags stay.
    void replaceRows(const std::vector<std::pair<std::uint8_t, Bytes>>& rows);
    // Overwrites the start of row with bytes and zeros the rest, keeping its size.
    void overwriteRow(std::uint8_t row, Bytes bytes);
    void setFlags(std::uint8_t row, std::uint16_t flags);
    // A new row in the next slot; it and its slot must fit the free space.
    std::uint8_t addRow(Bytes bytes, std::uint16_t flags);
    bool fits(std::size_t rowSize) const;

    // Makes page an empty data page of the table whose definition is on owner.
    static void initialize(PageBuffer& page, std::uint32_t owner);

private:
    struct Resumed {};
    DataPageEditor(PageBuffer& page, std::uint32_t number, Resumed);

    std::uint16_t slot(std::uint8_t row) const;
    std::size_t start(std::uint8_t row) const;
    std::size_t end(std::uint8_t row) const;
    std::size_t lowestRow() const;
    void setSlot(std::uint8_t row, std::size_t offset, std::uint16_t flags);

    PageBuffer& page_;
    std::uint32_t number_;
    std::uint16_t rowCount_;
};

} // namespace jet
