#pragma once

#include "jet/reader/database.h"
#include "jet/writer/locked_file.h"
#include "jet/writer/text_key_reuse.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace jet {

struct RowUpdate {
    RowLocation row;                    // the slot the row is known by
    std::optional<std::u16string> text; // nothing for NULL
};

// One statement's UPDATE of a text column.
struct TableUpdate {
    const UserTable* table = nullptr;
    std::size_t column = 0; // position among the table's columns
    std::vector<RowUpdate> rows;
};

struct TableDeletion {
    const UserTable* table = nullptr;
    std::vector<RowLocation> rows;
};

// What a statement writes: the pages, as stored, and the file's page count afterwards; and,
// for the check before writing, the keys it copied from the file, by the text they are the
// key of, with where it found them.
struct PlannedWrite {
    StoredPages pages;
    std::uint32_t pageCount = 0;
    std::map<std::u16string, ReusedKey> reusedKeys;
};

// Works out every page an UPDATE or DELETE changes, as the engine would change them: the rows,
// every index over a changed column (or, for a DELETE, every index of the table), and what
// the table's enforced relationships demand (a related record required, related records
// refusing a delete, or deleted with it where the relationship cascades). Throws WriteError
// for everything it refuses; nothing is written here.
PlannedWrite planUpdate(const Database& database, const TableUpdate& update);
PlannedWrite planDeletion(const Database& database, const TableDeletion& deletion);

} // namespace jet
