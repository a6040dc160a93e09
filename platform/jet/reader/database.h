#pragma once

#include "jet/reader/page_store.h"
#include "jet/reader/table_definition.h"

#include <memory>
#include <string>
#include <vector>

namespace jet {

struct UserTable {
    std::u16string name;
    TableDefinition definition;
};

// An open Jet 4.0 database: its page store and the definitions of the user tables the
// catalog (MSysObjects) lists. Throws ReadError while reading the catalog.
class Database {
public:
    explicit Database(PageStore pages);

    const DatabaseHeader& header() const noexcept { return pages_.header(); }
    const PageStore& pages() const noexcept { return pages_; }
    const std::vector<UserTable>& tables() const noexcept { return tables_; }

private:
    PageStore pages_;
    std::vector<UserTable> tables_;
};

} // namespace jet
