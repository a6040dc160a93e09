#pragma once

#include "jet/reader/index_page.h"
#include "jet/reader/table_definition.h"
#include "jet/writer/index_entry.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace jet::image_check {

// One index tree of one image of the file, read through the reader's index pages; every page
// it reaches must be an index page of the index's table (fail() otherwise).
class TreeView {
public:
    TreeView(const PageStore& pages, const IndexDefinition& index, std::uint32_t owner,
             std::string name);

    const std::string& name() const noexcept { return name_; }
    const IndexPage& page(std::uint32_t number);
    // Entry i of page: its key and row, and on a node the child it leads to.
    IndexEntry entryAt(const IndexPage& page, std::size_t i, std::uint32_t* child = nullptr);

    // One page on the way down: the page, and the position of the entry in its parent that
    // leads to it (nothing for the root and for a node's tail).
    struct Step {
        std::uint32_t page = 0;
        std::optional<std::size_t> entry;
    };
    // The pages from the root down to stop, going where target belongs; nothing when that way
    // does not pass stop.
    std::optional<std::vector<Step>> pathTo(const IndexEntry& target, std::uint32_t stop);
    // The greatest entry under page (its tail's, on a node); nothing for an empty leaf.
    std::optional<IndexEntry> greatest(std::uint32_t page);
    bool contains(const IndexEntry& entry);
    // How many leaf entries hold exactly key, counting up to limit.
    std::size_t countKey(const KeyBytes& key, std::size_t limit);

private:
    // The position of the first entry of page that is not below target (entryCount if none).
    std::size_t firstNotBelow(const IndexPage& page, const IndexEntry& target);
    // The child of node that target belongs under, and the position of its entry.
    std::pair<std::uint32_t, std::optional<std::size_t>> childFor(const IndexPage& node,
                                                                  const IndexEntry& target);
    std::uint32_t leafFor(const IndexEntry& target);

    const PageStore& pages_;
    const IndexDefinition& index_;
    std::uint32_t owner_;
    std::string name_;
    std::map<std::uint32_t, std::unique_ptr<IndexPage>> parsed_;
};

} // namespace jet::image_check
