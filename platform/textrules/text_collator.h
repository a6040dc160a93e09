#pragma once

#include <string_view>

struct UCollator;

namespace textrules {

// The store's text order and equality: letter case and trailing spaces do not count, accents
// and Thai tone marks do, Thai sorts in dictionary order and Latin before Thai. Backed by
// ICU's root collation at secondary strength; plain ASCII takes a table-driven path that
// gives the same answers without entering ICU.
class TextCollator {
public:
    TextCollator();
    TextCollator(const TextCollator&) = delete;
    TextCollator& operator=(const TextCollator&) = delete;

    // Both arguments are UTF-8. Returns <0, 0 or >0.
    int compare(std::string_view a, std::string_view b) const;

    // The ICU answer alone, for checking the fast path against it.
    int compareWithIcu(std::string_view a, std::string_view b) const;

private:
    const UCollator* collator_;
};

// Trailing U+0020 spaces are not part of a text's value for comparison.
std::string_view withoutTrailingSpaces(std::string_view text);

} // namespace textrules
