#pragma once

#include "jet/writer/image_check_parts.h"
#include "jet/writer/image_tree.h"

#include <map>
#include <memory>
#include <set>
#include <vector>

namespace jet::image_check {

// One index of a touched table, before and after the change, and the written pages of its
// tree: the ones it held before, and the ones it holds after with the way down to each.
struct IndexTrees {
    IndexTrees(const Images& images, const UserTable& table, std::size_t position);

    // Whether the tree held (after: holds) page; records it then.
    bool holds(std::uint32_t page, bool after);

    const IndexDefinition& index;
    std::unique_ptr<TreeView> before;
    std::unique_ptr<TreeView> after;
    std::set<std::uint32_t> beforePages;
    std::set<std::uint32_t> afterPages;
    std::map<std::uint32_t, std::vector<TreeView::Step>> pathsAfter;
};

// Every page of the tree the change writes keeps the index page's rules (order, free space,
// no tail on a leaf) and agrees with the pages around it: its neighbours' links and keys, the
// entry its parent keeps for it, and the children it names; a page the tree gives back is left
// by its neighbours and holds no index page any more.
void checkTreePages(IndexTrees& trees);

} // namespace jet::image_check
