#pragma once

#include "jet/format/jet_format.h"
#include "jet/reader/byte_order.h"
#include "jet/reader/byte_source.h"
#include "jet/reader/database_header.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>

namespace jet {

// A page stays readable for as long as someone holds it, even after the cache lets go.
using PageRef = std::shared_ptr<const PageBuffer>;

// The decoded pages of one file, read on demand and kept in a bounded cache.
class PageStore {
public:
    // Reads and checks page 0; throws ReadError (NotJet4) for anything but a Jet 4.0 file.
    explicit PageStore(std::unique_ptr<ByteSource> source);
    // The pages of base with some of them replaced, decoded (page 0 never): the file as it
    // will read once those are written, pageCount pages long. Both base and pages stay the
    // caller's and must outlive the store; nothing is copied.
    PageStore(const PageStore& base, const std::map<std::uint32_t, PageBuffer>& pages,
              std::uint32_t pageCount);

    const DatabaseHeader& header() const noexcept { return header_; }
    // The stored bytes, as the file holds them (encoded pages still encoded); a store made of
    // another one's pages reads its base's.
    const ByteSource& source() const noexcept { return base_ ? base_->source() : *source_; }
    std::uint32_t pageCount() const noexcept { return pageCount_; }

    // Throws ReadError (Damaged) for a page number outside the file.
    PageRef page(std::uint32_t number) const;
    // Drops the pages read so far, for a file that has just been changed under them.
    void forgetPages() const { cache_.clear(); }
    // As page(), and the page must be of the given type.
    PageRef pageOfType(std::uint32_t number, PageType type, const char* what) const;

private:
    std::unique_ptr<ByteSource> source_;
    DatabaseHeader header_;
    std::uint32_t pageCount_ = 0;
    mutable std::unordered_map<std::uint32_t, PageRef> cache_;
    const PageStore* base_ = nullptr;
    const std::map<std::uint32_t, PageBuffer>* replaced_ = nullptr;
};

inline Bytes bytesOf(const PageRef& page) {
    return Bytes(page->data(), page->size());
}

} // namespace jet
