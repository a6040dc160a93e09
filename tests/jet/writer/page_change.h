#pragma once

// A change of known shape and content, made the same way by the crash worker and by the
// tests that check what it left, so either side can tell the intended result from the
// original without trusting the other.

#include "jet/writer/locked_file.h"

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

struct PageChange {
    std::uint32_t first = 1; // the first page rewritten
    std::uint32_t count = 0; // pages rewritten
    std::uint32_t step = 1;  // between rewritten pages
    std::int32_t grow = 0;   // pages added at the end (appended with new content) or cut off

    std::string text() const {
        return std::to_string(first) + ":" + std::to_string(count) + ":" + std::to_string(step) +
               ":" + std::to_string(grow);
    }
    static PageChange parse(const std::string& text) {
        PageChange c;
        if (std::sscanf(text.c_str(), "%u:%u:%u:%d", &c.first, &c.count, &c.step, &c.grow) != 4) {
            throw std::invalid_argument("a page change reads first:count:step:grow");
        }
        return c;
    }

    std::uint32_t newPageCount(std::uint32_t pageCount) const {
        return static_cast<std::uint32_t>(static_cast<std::int64_t>(pageCount) + grow);
    }

    // Every page it writes, each filled with a pattern of its number no file starts with.
    jet::StoredPages pages(std::uint32_t pageCount) const {
        jet::StoredPages result;
        const auto fill = [&](std::uint32_t number) {
            jet::PageBuffer& page = result[number];
            for (std::size_t i = 0; i < page.size(); ++i) {
                page[i] = static_cast<std::uint8_t>((number * 131 + i * 7) ^ 0xA5);
            }
        };
        for (std::uint32_t i = 0; i < count; ++i) {
            fill(first + i * step);
        }
        for (std::uint32_t number = pageCount; number < newPageCount(pageCount); ++number) {
            fill(number);
        }
        return result;
    }

    // The file as the change means to leave it.
    std::vector<std::uint8_t> applyTo(std::vector<std::uint8_t> file) const {
        const auto pageCount = static_cast<std::uint32_t>(file.size() / jet::kPageSize);
        file.resize(std::size_t{newPageCount(pageCount)} * jet::kPageSize);
        for (const auto& [number, image] : pages(pageCount)) {
            std::copy(image.begin(), image.end(),
                      file.begin() + static_cast<std::ptrdiff_t>(number * jet::kPageSize));
        }
        return file;
    }
};
