#include "jet/writer/write_error.h"

#include <unicode/unistr.h>

namespace jet {

WriteError::WriteError(Kind kind, std::string detail)
    : std::runtime_error(detail), kind_(kind), detail_(std::move(detail)) {}

void refuseUnsupported(const std::string& what) {
    throw WriteError(WriteError::Kind::Unsupported, what);
}

std::string utf8(std::u16string_view text) {
    // ICU puts U+FFFD where half a surrogate pair stands, so a damaged name still reads.
    std::string out;
    icu::UnicodeString(false, text.data(), static_cast<int32_t>(text.size())).toUTF8String(out);
    return out;
}

} // namespace jet
