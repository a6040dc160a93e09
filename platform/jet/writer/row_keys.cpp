#include "row_keys.h"

#include "write_error.h"

#include <algorithm>
#include <string>

namespace jet {

const ColumnDefinition& columnNumbered(const TableDefinition& table, std::uint16_t number) {
    const auto found = std::find_if(table.columns.begin(), table.columns.end(),
                                    [&](const ColumnDefinition& c) { return c.number == number; });
    if (found == table.columns.end()) {
        refuseUnsupported("an index names column " + std::to_string(number) +
                          ", which the table does not have");
    }
    return *found;
}

KeyParts rowKeyParts(const TableDefinition& table, const IndexDefinition& index,
                     const RowFields& row) {
    KeyParts parts;
    for (const IndexColumn& indexed : index.columns) {
        const ColumnDefinition& column = columnNumbered(table, indexed.columnNumber);
        parts.push_back(keySegment(column, indexed.ascending, row.bytes(column)));
    }
    return parts;
}

std::optional<KeyBytes> joinKey(const KeyParts& parts) {
    KeyBytes key;
    for (const auto& part : parts) {
        if (!part) {
            return std::nullopt;
        }
        key.insert(key.end(), part->begin(), part->end());
    }
    return key;
}

std::optional<KeyParts> completeFrom(KeyParts parts, const KeyBytes& stored) {
    const auto unknown =
        std::find_if(parts.begin(), parts.end(), [](const auto& part) { return !part; });
    if (unknown == parts.end()) {
        return joinKey(parts) == stored ? std::optional<KeyParts>(parts) : std::nullopt;
    }
    if (std::find_if(unknown + 1, parts.end(), [](const auto& part) { return !part; }) !=
        parts.end()) {
        return std::nullopt;
    }
    KeyBytes before;
    KeyBytes after;
    for (auto part = parts.begin(); part != parts.end(); ++part) {
        if (part != unknown) {
            KeyBytes& side = part < unknown ? before : after;
            side.insert(side.end(), (*part)->begin(), (*part)->end());
        }
    }
    if (stored.size() <= before.size() + after.size() ||
        !std::equal(before.begin(), before.end(), stored.begin()) ||
        !std::equal(after.rbegin(), after.rend(), stored.rbegin())) {
        return std::nullopt;
    }
    *unknown = KeyBytes(stored.begin() + static_cast<std::ptrdiff_t>(before.size()),
                        stored.end() - static_cast<std::ptrdiff_t>(after.size()));
    return parts;
}

bool isNullPart(const std::optional<KeyBytes>& part) {
    return part && part->size() == 1 && part->front() == 0x00;
}

} // namespace jet
