#include "jet/writer/row_keys.h"

#include "jet/writer/write_error.h"

#include <algorithm>
#include <array>
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

RowKeyParts::RowKeyParts(const TableDefinition& table, const IndexDefinition& index)
    : index_(index) {
    for (const IndexColumn& indexed : index.columns) {
        columns_.push_back(&columnNumbered(table, indexed.columnNumber));
    }
}

const RowKeyParts::Key& RowKeyParts::of(const RowFields& row) {
    std::array<std::optional<Bytes>, 10> values;
    for (std::size_t i = 0; i < columns_.size() && i < values.size(); ++i) {
        values[i] = row.bytes(*columns_[i]);
    }
    return of(values, std::min(columns_.size(), values.size()));
}

const RowKeyParts::Key& RowKeyParts::of(const std::array<std::optional<Bytes>, 10>& values,
                                        std::size_t count) {
    // The values, each as a presence byte, its length and its bytes: equal signatures, equal
    // values.
    signature_.clear();
    for (std::size_t i = 0; i < count; ++i) {
        signature_ += values[i] ? '\1' : '\0';
        if (values[i]) {
            const auto size = static_cast<std::uint32_t>(values[i]->size());
            signature_.append(reinterpret_cast<const char*>(&size), sizeof size);
            signature_.append(values[i]->begin(), values[i]->end());
        }
    }
    if (const auto known = known_.find(std::string_view(signature_)); known != known_.end()) {
        return known->second;
    }
    KeyParts parts;
    for (std::size_t i = 0; i < count; ++i) {
        parts.push_back(keySegment(*columns_[i], index_.columns[i].ascending, values[i]));
    }
    std::optional<KeyBytes> joined = joinKey(parts);
    return known_.emplace(signature_, Key{std::move(parts), std::move(joined)}).first->second;
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
    // A value's part is its flag byte and at least one more; NULL's is the flag alone, 0x00
    // ascending and 0xFF descending.
    return part && part->size() == 1 && (part->front() == 0x00 || part->front() == 0xFF);
}

} // namespace jet
