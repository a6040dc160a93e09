#pragma once

#include "jet/reader/page_store.h"
#include "jet/writer/locked_file.h"

#include <cstdint>
#include <map>

namespace jet {

// The pages of one change: decoded copies of the file's pages it changes, and the pages it
// adds past the end. Nothing reaches the file from here; takeStoredPages() hands the result over
// to be written.
class PageEdits {
public:
    explicit PageEdits(const PageStore& store);

    const PageStore& store() const noexcept { return store_; }

    // The page as the change has it so far.
    const PageBuffer& page(std::uint32_t number) const;
    // The page, to be changed: copied from the file on first use. Page 0 is never changed.
    PageBuffer& edit(std::uint32_t number);
    // A new page of zeros past the end of the file.
    std::uint32_t append();

    std::uint32_t pageCount() const noexcept { return pageCount_; }
    bool changes() const noexcept { return !pages_.empty(); }
    // Every page the change writes, encoded as the file stores its pages; the edits give them
    // up (nothing is copied), so nothing may be edited after.
    StoredPages takeStoredPages();

private:
    const PageStore& store_;
    std::uint32_t pageCount_;
    std::map<std::uint32_t, PageBuffer> pages_;
};

} // namespace jet
