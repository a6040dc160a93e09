#include "jet/writer/page_edits.h"

#include "jet/reader/rc4.h"
#include "jet/writer/write_error.h"

#include <string>

namespace jet {

PageEdits::PageEdits(const PageStore& store) : store_(store), pageCount_(store.pageCount()) {}

const PageBuffer& PageEdits::page(std::uint32_t number) const {
    if (const auto found = pages_.find(number); found != pages_.end()) {
        return found->second;
    }
    return *store_.page(number);
}

PageBuffer& PageEdits::edit(std::uint32_t number) {
    if (number == 0) {
        refuseUnsupported("a change would have to rewrite the file's header page");
    }
    if (const auto found = pages_.find(number); found != pages_.end()) {
        return found->second;
    }
    return pages_.emplace(number, *store_.page(number)).first->second;
}

std::uint32_t PageEdits::append() {
    // Jet addresses pages with three bytes.
    if (pageCount_ >= 0xFFFFFFu) {
        refuseUnsupported("the file has no room for another page");
    }
    const std::uint32_t number = pageCount_++;
    pages_.emplace(number, PageBuffer{});
    return number;
}

StoredPages PageEdits::takeStoredPages() {
    StoredPages stored = std::move(pages_);
    pages_.clear();
    if (const std::uint32_t key = store_.header().databaseKey; key != 0) {
        for (auto& [number, page] : stored) {
            applyPageRc4(key, number, page);
        }
    }
    return stored;
}

} // namespace jet
