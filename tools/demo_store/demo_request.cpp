#include "tools/demo_store/demo_request.h"

#include "textrules/text_collator.h"

#include <QString>

#include <charconv>

namespace demostore {
namespace {

bool isSpace(char32_t c) {
    return c == U' ' || c == U'\t';
}

void checkStoryCode(const std::string& code) {
    const QString text = QString::fromUtf8(code.data(), static_cast<qsizetype>(code.size()));
    if (text.isEmpty()) {
        throw DemoRequestError("a story code must not be empty");
    }
    // Jet counts UTF-16 units against TEXT(15); so do we.
    if (text.size() > kMaxCodeLength) {
        throw DemoRequestError("story code '" + code + "' is longer than " +
                               std::to_string(kMaxCodeLength) + " characters");
    }
    // Trailing spaces do not count in the store's comparison, so 'A1 ' would quietly be
    // 'A1'; leading ones are as surely a typing slip.
    if (isSpace(text.front().unicode()) || isSpace(text.back().unicode())) {
        throw DemoRequestError("story code '" + code + "' starts or ends with a space");
    }
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control) {
            throw DemoRequestError("story code '" + code + "' contains a control character");
        }
    }
}

std::int64_t parseCount(std::string_view digits, std::string_view whole) {
    std::int64_t value = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        value < 0) {
        throw DemoRequestError("'" + std::string(whole) +
                               "': expected CODE=COUNT or CODE=COUNT:NAME with a whole number "
                               "COUNT of 0 or more");
    }
    return value;
}

} // namespace

SpecialStory parseSpecialStory(std::string_view text) {
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        throw DemoRequestError("'" + std::string(text) +
                               "': expected CODE=COUNT or CODE=COUNT:NAME");
    }
    SpecialStory special;
    special.code = std::string(text.substr(0, equals));
    std::string_view rest = text.substr(equals + 1);
    const auto colon = rest.find(':');
    if (colon != std::string_view::npos) {
        special.name = std::string(rest.substr(colon + 1));
        rest = rest.substr(0, colon);
    }
    special.copies = parseCount(rest, text);
    checkStoryCode(special.code);
    if (special.copies > kMaxCopies) {
        throw DemoRequestError("story '" + special.code + "': at most " +
                               std::to_string(kMaxCopies) + " copies");
    }
    return special;
}

void checkDemoRequest(const DemoRequest& request) {
    if (request.stories < 0 || request.stories > kMaxStories) {
        throw DemoRequestError("the number of stories must be between 0 and " +
                               std::to_string(kMaxStories));
    }
    if (request.copies < 0 || request.copies > kMaxCopies) {
        throw DemoRequestError("the number of copies must be between 0 and " +
                               std::to_string(kMaxCopies));
    }
    if (request.copies > 0 && request.stories == 0) {
        throw DemoRequestError("copies need at least one story to belong to");
    }
    const textrules::TextCollator collator;
    for (std::size_t i = 0; i < request.specials.size(); ++i) {
        const SpecialStory& special = request.specials[i];
        checkStoryCode(special.code);
        if (special.copies < 0 || special.copies > kMaxCopies) {
            throw DemoRequestError("story '" + special.code +
                                   "': the number of copies must be "
                                   "between 0 and " +
                                   std::to_string(kMaxCopies));
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (collator.compare(request.specials[j].code, special.code) == 0) {
                throw DemoRequestError("special stories '" + request.specials[j].code + "' and '" +
                                       special.code +
                                       "' have the same code in the store, "
                                       "which ignores letter case");
            }
        }
    }
}

} // namespace demostore
