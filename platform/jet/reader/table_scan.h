#pragma once

#include "jet/reader/data_page.h"
#include "jet/reader/table_definition.h"

#include <optional>
#include <vector>

namespace jet {

// Walks the live rows of a table in storage order: the data pages its usage map names,
// each page's rows in slot order. Deleted rows are skipped; a row moved elsewhere is read
// where its overflow pointer leads and only there.
class TableScan {
public:
    TableScan(const PageStore& pages, const TableDefinition& table);

    // Moves to the next live row; false once there is none.
    bool next();
    const StoredRow& current() const { return current_; }

private:
    bool nextPage();

    const PageStore& pages_;
    std::uint32_t owner_;
    std::vector<std::uint32_t> dataPages_;
    std::size_t nextPageIndex_ = 0;
    std::optional<DataPage> page_;
    std::uint16_t nextRow_ = 0;
    StoredRow current_;
};

} // namespace jet
