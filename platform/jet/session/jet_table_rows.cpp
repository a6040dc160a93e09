#include "jet/session/jet_table_rows.h"

#include "jet/session/jet_sql_values.h"
#include "textrules/text_collator.h"

namespace platform {

JetTableRows::JetTableRows(const jet::PageStore& pages, const jet::TableDefinition& table)
    : pages_(pages), table_(table) {}

void JetTableRows::startScan() {
    mode_ = Mode::Scan;
    scan_.emplace(pages_, table_);
    advanceScan();
}

void JetTableRows::startIndexed(jet::IndexMatches matches) {
    mode_ = Mode::Indexed;
    indexed_ = std::move(matches);
    indexedRun_ = 0;
    indexedEntry_ = indexed_.empty() ? 0 : indexed_.front().begin;
    row_.reset();
    fields_.reset();
    atEnd_ = indexed_.empty();
}

void JetTableRows::startFilteredScan(std::size_t column, std::string utf8Text,
                                     const textrules::TextCollator& collator) {
    filterColumn_ = column;
    filterText_ = std::move(utf8Text);
    collator_ = &collator;
    startScan();
    mode_ = Mode::FilteredScan;
    while (!atEnd_ && !currentMatches()) {
        advanceScan();
    }
}

void JetTableRows::startEmpty() {
    mode_ = Mode::Indexed;
    indexed_.clear();
    atEnd_ = true;
}

void JetTableRows::advanceScan() {
    fields_.reset();
    atEnd_ = !scan_->next();
    if (!atEnd_) {
        row_ = scan_->current();
    } else {
        row_.reset();
    }
}

bool JetTableRows::currentMatches() {
    const jet::FieldValue field = value(filterColumn_);
    return field.kind == jet::FieldValue::Kind::Text &&
           collator_->compare(utf8Text(field.text), filterText_) == 0;
}

void JetTableRows::next() {
    if (atEnd_) {
        return;
    }
    switch (mode_) {
    case Mode::Scan:
        advanceScan();
        break;
    case Mode::FilteredScan:
        do {
            advanceScan();
        } while (!atEnd_ && !currentMatches());
        break;
    case Mode::Indexed:
        row_.reset();
        fields_.reset();
        if (++indexedEntry_ == indexed_[indexedRun_].end && ++indexedRun_ < indexed_.size()) {
            indexedEntry_ = indexed_[indexedRun_].begin;
        }
        atEnd_ = indexedRun_ == indexed_.size();
        break;
    }
}

const jet::RowFields& JetTableRows::currentFields() {
    if (!row_) {
        const jet::RowLocation location = indexedLocation();
        row_ = jet::readLiveRow(pages_, location);
        if (!row_) {
            jet::throwDamaged("an index names row " + std::to_string(location.row) + " of page " +
                              std::to_string(location.page) + ", which has been deleted");
        }
    }
    if (!fields_) {
        fields_.emplace(row_->bytes, table_);
    }
    return *fields_;
}

jet::RowLocation JetTableRows::indexedLocation() const {
    return indexed_.at(indexedRun_).leaf->rowOf(indexedEntry_);
}

jet::FieldValue JetTableRows::value(std::size_t column) {
    return jet::decodeField(pages_, table_.columns.at(column), currentFields());
}

long long JetTableRows::rowId() const {
    const jet::RowLocation location = mode_ == Mode::Indexed ? indexedLocation() : row_->header;
    return jet::rowPointer(location);
}

} // namespace platform
