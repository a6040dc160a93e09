#include "jet/reader/text_codec.h"

namespace jet {
namespace {

std::u16string decodeUcs2(Bytes bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    return text;
}

std::u16string decodeCompressed(Bytes bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    bool oneByte = true;
    for (std::size_t i = 0; i < bytes.size();) {
        if (bytes[i] == 0) {
            oneByte = !oneByte;
            ++i;
        } else if (oneByte) {
            text.push_back(static_cast<char16_t>(bytes[i]));
            ++i;
        } else if (i + 1 < bytes.size()) {
            text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
            i += 2;
        } else {
            break;
        }
    }
    return text;
}

} // namespace

std::u16string decodeText(Bytes stored) {
    if (stored.size() >= 2 && stored[0] == 0xFF && stored[1] == 0xFE) {
        return decodeCompressed(stored.subspan(2));
    }
    return decodeUcs2(stored);
}

} // namespace jet
