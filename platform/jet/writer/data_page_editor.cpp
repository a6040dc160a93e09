#include "jet/writer/data_page_editor.h"

#include "jet/reader/data_page.h"
#include "jet/writer/write_error.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace jet {
namespace {

using layout::kDataRowCountAt;
using layout::kSlotOffsetMask;
constexpr std::size_t kFreeSpaceOffset = layout::kDataFreeSpaceAt;
constexpr std::uint16_t kMaxRows = layout::kMaxRowsPerPage;

} // namespace

Bytes dataRow(const PageBuffer& page, std::uint32_t number, std::uint8_t row) {
    const std::uint16_t count = u16At(page, kDataRowCountAt);
    if (page[0] != static_cast<std::uint8_t>(PageType::Data) || row >= count ||
        kDataPageHeader + 2u * count > kPageSize) {
        refuseUnsupported("row " + std::to_string(row) + " of page " + std::to_string(number) +
                          " does not exist");
    }
    const std::size_t start = u16At(page, kDataPageHeader + 2u * row) & kSlotOffsetMask;
    const std::size_t end =
        row == 0 ? kPageSize : u16At(page, kDataPageHeader + 2u * (row - 1)) & kSlotOffsetMask;
    if (start < kDataPageHeader + 2u * count || start >= end) {
        refuseUnsupported("row " + std::to_string(row) + " of page " + std::to_string(number) +
                          " lies outside its page");
    }
    return Bytes(page).subspan(start, end - start);
}

DataPageEditor::DataPageEditor(PageBuffer& page, std::uint32_t number)
    : page_(page), number_(number), rowCount_(u16At(page, kDataRowCountAt)) {
    if (const std::string problem = dataPageLayoutProblem(page_); !problem.empty()) {
        refuseUnsupported("data page " + std::to_string(number) + ": " + problem);
    }
}

DataPageEditor::DataPageEditor(PageBuffer& page, std::uint32_t number, Resumed)
    : page_(page), number_(number), rowCount_(u16At(page, kDataRowCountAt)) {}

DataPageEditor DataPageEditor::resumed(PageBuffer& page, std::uint32_t number) {
    return DataPageEditor(page, number, Resumed{});
}

std::uint16_t DataPageEditor::slot(std::uint8_t row) const {
    return u16At(page_, kDataPageHeader + 2u * row);
}

std::size_t DataPageEditor::start(std::uint8_t row) const {
    return slot(row) & kSlotOffsetMask;
}

std::size_t DataPageEditor::end(std::uint8_t row) const {
    return row == 0 ? kPageSize : start(static_cast<std::uint8_t>(row - 1));
}

std::size_t DataPageEditor::lowestRow() const {
    return rowCount_ == 0 ? kPageSize : start(static_cast<std::uint8_t>(rowCount_ - 1));
}

std::uint16_t DataPageEditor::freeSpace() const {
    return u16At(page_, kFreeSpaceOffset);
}

std::uint16_t DataPageEditor::flags(std::uint8_t row) const {
    return static_cast<std::uint16_t>(slot(row) & ~kSlotOffsetMask);
}

Bytes DataPageEditor::row(std::uint8_t row) const {
    return Bytes(page_).subspan(start(row), end(row) - start(row));
}

void DataPageEditor::setSlot(std::uint8_t row, std::size_t offset, std::uint16_t flags) {
    putLittleEndian(page_, kDataPageHeader + 2u * row, offset | flags, 2);
}

bool DataPageEditor::fits(std::size_t rowSize) const {
    return rowCount_ < kMaxRows && rowSize + 2u <= freeSpace();
}

void DataPageEditor::replaceRow(std::uint8_t row, Bytes bytes) {
    const std::size_t oldSize = end(row) - start(row);
    if (bytes.size() > oldSize && bytes.size() - oldSize > freeSpace()) {
        refuseUnsupported("a rewritten row does not fit data page " + std::to_string(number_));
    }
    // The rows below this one move by the change in size; the row keeps its end.
    const std::size_t low = lowestRow();
    const std::size_t newStart = end(row) - bytes.size();
    const auto shift =
        static_cast<std::ptrdiff_t>(newStart) - static_cast<std::ptrdiff_t>(start(row));
    const auto newLow = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(low) + shift);
    std::memmove(page_.data() + newLow, page_.data() + low, start(row) - low);
    if (newLow > low) {
        std::fill(page_.begin() + static_cast<std::ptrdiff_t>(low),
                  page_.begin() + static_cast<std::ptrdiff_t>(newLow), 0);
    }
    for (std::uint16_t i = row; i < rowCount_; ++i) {
        const auto moved = static_cast<std::uint8_t>(i);
        setSlot(moved, static_cast<std::size_t>(static_cast<std::ptrdiff_t>(start(moved)) + shift),
                flags(moved));
    }
    std::memcpy(page_.data() + newStart, bytes.data(), bytes.size());
    putLittleEndian(page_, kFreeSpaceOffset, freeSpace() + oldSize - bytes.size(), 2);
}

void DataPageEditor::replaceRows(const std::vector<std::pair<std::uint8_t, Bytes>>& rows) {
    const std::size_t slotsEnd = kDataPageHeader + 2u * rowCount_;
    const std::size_t low = lowestRow();
    PageBuffer packed{};
    std::vector<std::size_t> starts(rowCount_);
    std::size_t end = kPageSize;
    std::size_t next = 0;
    for (std::uint16_t i = 0; i < rowCount_; ++i) {
        const auto slot = static_cast<std::uint8_t>(i);
        const Bytes bytes =
            next < rows.size() && rows[next].first == slot ? rows[next++].second : row(slot);
        if (bytes.size() > end - slotsEnd) {
            refuseUnsupported("rewritten rows do not fit data page " + std::to_string(number_));
        }
        end -= bytes.size();
        std::copy(bytes.begin(), bytes.end(), packed.begin() + static_cast<std::ptrdiff_t>(end));
        starts[i] = end;
    }
    std::copy(packed.begin() + static_cast<std::ptrdiff_t>(end), packed.end(),
              page_.begin() + static_cast<std::ptrdiff_t>(end));
    if (end > low) {
        std::fill(page_.begin() + static_cast<std::ptrdiff_t>(low),
                  page_.begin() + static_cast<std::ptrdiff_t>(end), 0);
    }
    for (std::uint16_t i = 0; i < rowCount_; ++i) {
        const auto slot = static_cast<std::uint8_t>(i);
        setSlot(slot, starts[i], flags(slot));
    }
    putLittleEndian(page_, kFreeSpaceOffset, end - slotsEnd, 2);
}

void DataPageEditor::overwriteRow(std::uint8_t row, Bytes bytes) {
    const std::size_t size = end(row) - start(row);
    if (bytes.size() > size) {
        refuseUnsupported("a row pointer does not fit the row it replaces");
    }
    std::memcpy(page_.data() + start(row), bytes.data(), bytes.size());
    std::fill(page_.begin() + static_cast<std::ptrdiff_t>(start(row) + bytes.size()),
              page_.begin() + static_cast<std::ptrdiff_t>(start(row) + size), 0);
}

void DataPageEditor::setFlags(std::uint8_t row, std::uint16_t flags) {
    setSlot(row, start(row), flags);
}

std::uint8_t DataPageEditor::addRow(Bytes bytes, std::uint16_t flags) {
    if (!fits(bytes.size())) {
        refuseUnsupported("a row does not fit data page " + std::to_string(number_));
    }
    const std::size_t offset = lowestRow() - bytes.size();
    const auto row = static_cast<std::uint8_t>(rowCount_);
    std::memcpy(page_.data() + offset, bytes.data(), bytes.size());
    ++rowCount_;
    putLittleEndian(page_, kDataRowCountAt, rowCount_, 2);
    setSlot(row, offset, flags);
    putLittleEndian(page_, kFreeSpaceOffset, freeSpace() - bytes.size() - 2u, 2);
    return row;
}

void DataPageEditor::initialize(PageBuffer& page, std::uint32_t owner) {
    page.fill(0);
    page[0] = static_cast<std::uint8_t>(PageType::Data);
    page[1] = 0x01;
    putLittleEndian(page, kFreeSpaceOffset, kPageSize - kDataPageHeader, 2);
    putLittleEndian(page, layout::kDataOwnerAt, owner, 4);
}

} // namespace jet
