#pragma once

#include "jet/writer/image_check_parts.h"

#include <map>
#include <string>

namespace jet::image_check {

// The keys of texts the plan could not work out and copied from the file, each confirmed in
// the file before it is believed (fail() otherwise).
class KeySources {
public:
    KeySources(const Images& images, const PlannedWrite& plan);

    // The ascending key of text in a column sorted like column.
    const KeyBytes& key(const ColumnDefinition& column, const std::u16string& text);

private:
    const Images& images_;
    const PlannedWrite& plan_;
    std::map<std::u16string, KeyBytes> confirmed_;
};

} // namespace jet::image_check
