#include "jet/reader/page_store.h"

#include "jet/reader/rc4.h"

#include <string>

namespace jet {
namespace {

// Large enough for every page a lookup touches; a full scan of a big table recycles it.
constexpr std::size_t kCachedPages = 2048;

} // namespace

PageStore::PageStore(std::unique_ptr<ByteSource> source) : source_(std::move(source)) {
    const std::uint64_t size = source_->size();
    if (size < 3 * kPageSize) {
        throwNotJet4("too short for a Jet 4.0 file");
    }
    if (size % kPageSize != 0) {
        // Jet only ever grows a file by whole pages: anything else was cut short.
        throwNotJet4("the file size is not a whole number of pages");
    }
    if (size / kPageSize > 0xFFFFFFu) {
        throwNotJet4("more pages than a Jet 4.0 file can address");
    }
    pageCount_ = static_cast<std::uint32_t>(size / kPageSize);
    PageBuffer first{};
    source_->read(0, first);
    header_ = readDatabaseHeader(first);
}

PageStore::PageStore(const PageStore& base, const std::map<std::uint32_t, PageBuffer>& pages,
                     std::uint32_t pageCount)
    : header_(base.header_), pageCount_(pageCount), base_(&base), replaced_(&pages) {}

PageRef PageStore::page(std::uint32_t number) const {
    if (number >= pageCount_) {
        throwDamaged("page " + std::to_string(number) + " is beyond the end of the file (" +
                     std::to_string(pageCount_) + " pages)");
    }
    if (base_ != nullptr) {
        if (const auto found = replaced_->find(number); found != replaced_->end()) {
            // The caller keeps the page: a reference that owns nothing.
            return PageRef(std::shared_ptr<const void>(), &found->second);
        }
        if (number >= base_->pageCount()) {
            throwDamaged("page " + std::to_string(number) + " is neither in the file nor added");
        }
        return base_->page(number);
    }
    if (const auto found = cache_.find(number); found != cache_.end()) {
        return found->second;
    }
    auto buffer = std::make_shared<PageBuffer>();
    source_->read(static_cast<std::uint64_t>(number) * kPageSize, *buffer);
    if (number != 0 && header_.databaseKey != 0) {
        applyPageRc4(header_.databaseKey, number, *buffer);
    }
    if (cache_.size() >= kCachedPages) {
        cache_.clear();
    }
    cache_.emplace(number, buffer);
    return buffer;
}

PageRef PageStore::pageOfType(std::uint32_t number, PageType type, const char* what) const {
    PageRef result = page(number);
    if ((*result)[0] != static_cast<std::uint8_t>(type)) {
        throwDamaged(std::string(what) + " on page " + std::to_string(number) +
                     " is not where the file says it is (page type " +
                     std::to_string((*result)[0]) + ")");
    }
    return result;
}

} // namespace jet
