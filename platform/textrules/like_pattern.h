#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace textrules {

// A LIKE pattern as the shop's database engine reads it: '%' any run of characters, '_' any
// one character, '[abc]' one of a list, '[a-z]' a range, '[!abc]' none of a list. A bracket
// without its closing ']' stands for itself, and '[]' matches nothing at all (it is dropped).
// Matching ignores letter case; trailing spaces count like any other character.
class LikePattern {
public:
    // pattern is UTF-8; escape, when given, makes the character after it literal.
    explicit LikePattern(std::string_view pattern, std::optional<char32_t> escape = std::nullopt);

    bool matches(std::string_view text) const; // text is UTF-8

private:
    enum class Kind { Literal, AnyOne, AnyRun, List };
    struct Range {
        char32_t low;
        char32_t high;
    };
    struct Token {
        explicit Token(Kind k, char32_t c = 0) : kind(k), literal(c) {}
        Kind kind;
        char32_t literal;
        bool negated = false;
        std::vector<Range> ranges;
    };

    bool matchesOne(const Token& token, char32_t c) const;
    std::size_t parseList(const std::u32string_view& p, std::size_t open);

    std::vector<Token> tokens_;
    std::size_t minimumLength_ = 0;
};

// UTF-8 to case-folded code points; malformed bytes become U+FFFD.
std::u32string foldedCodePoints(std::string_view utf8);

} // namespace textrules
