#pragma once

#include "jet/reader/data_page.h"
#include "jet/reader/field_value.h"
#include "jet/reader/index_search.h"
#include "jet/reader/row_fields.h"
#include "jet/reader/table_definition.h"
#include "jet/reader/table_scan.h"

#include <optional>
#include <string>

namespace textrules {
class TextCollator;
}

namespace platform {

// The rows one query reads from one Jet table: all of them, the ones an index names, or the
// ones whose text in one column equals a given text (compared as the JETTEXT collation does,
// for values the index cannot look up). Fields are decoded only when asked for, so counting
// rows found through an index never touches the data pages.
class JetTableRows {
public:
    JetTableRows(const jet::PageStore& pages, const jet::TableDefinition& table);

    void startScan();
    void startIndexed(jet::IndexMatches matches);
    void startFilteredScan(std::size_t column, std::string utf8Text,
                           const textrules::TextCollator& collator);
    void startEmpty();

    bool atEnd() const noexcept { return atEnd_; }
    void next();
    jet::FieldValue value(std::size_t column);
    long long rowId() const;

private:
    enum class Mode { Scan, Indexed, FilteredScan };

    void advanceScan();
    bool currentMatches();
    const jet::RowFields& currentFields();

    const jet::PageStore& pages_;
    const jet::TableDefinition& table_;
    Mode mode_ = Mode::Scan;
    bool atEnd_ = true;

    std::optional<jet::TableScan> scan_;
    jet::RowLocation indexedLocation() const;

    jet::IndexMatches indexed_;
    std::size_t indexedRun_ = 0;
    std::size_t indexedEntry_ = 0;

    std::size_t filterColumn_ = 0;
    std::string filterText_;
    const textrules::TextCollator* collator_ = nullptr;

    // The current row, read on first use.
    std::optional<jet::StoredRow> row_;
    std::optional<jet::RowFields> fields_;
};

} // namespace platform
