#include "textrules/like_pattern.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <string>

namespace textrules {

std::u32string foldedCodePoints(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    int32_t i = 0;
    while (i < length) {
        UChar32 c = 0;
        U8_NEXT(s, i, length, c);
        if (c < 0) {
            c = 0xFFFD;
        }
        out.push_back(static_cast<char32_t>(u_foldCase(c, U_FOLD_CASE_DEFAULT)));
    }
    return out;
}

LikePattern::LikePattern(std::string_view pattern, std::optional<char32_t> escape) {
    const std::u32string p = foldedCodePoints(pattern);
    // A plain flag and value rather than an optional: GCC's -O2 flow analysis reports the
    // optional's payload as maybe-uninitialized here, which -Werror turns into a build failure.
    const bool hasEscape = escape.has_value();
    const char32_t foldedEscape =
        hasEscape ? static_cast<char32_t>(
                        u_foldCase(static_cast<UChar32>(escape.value()), U_FOLD_CASE_DEFAULT))
                  : 0;
    std::size_t i = 0;
    while (i < p.size()) {
        const char32_t c = p[i];
        if (hasEscape && c == foldedEscape && i + 1 < p.size()) {
            tokens_.emplace_back(Kind::Literal, p[i + 1]);
            i += 2;
        } else if (c == U'%') {
            if (tokens_.empty() || tokens_.back().kind != Kind::AnyRun) {
                tokens_.emplace_back(Kind::AnyRun);
            }
            ++i;
        } else if (c == U'_') {
            tokens_.emplace_back(Kind::AnyOne);
            ++i;
        } else if (c == U'[') {
            i = parseList(p, i);
        } else {
            tokens_.emplace_back(Kind::Literal, c);
            ++i;
        }
    }
    for (const Token& t : tokens_) {
        if (t.kind != Kind::AnyRun) {
            ++minimumLength_;
        }
    }
}

// Parses the list that opens at p[open]; returns the index just past it.
std::size_t LikePattern::parseList(const std::u32string_view& p, std::size_t open) {
    const std::size_t close = p.find(U']', open + 1);
    if (close == std::u32string_view::npos) {
        tokens_.emplace_back(Kind::Literal, U'[');
        return open + 1;
    }
    std::size_t i = open + 1;
    Token token(Kind::List);
    if (i < close && p[i] == U'!') {
        token.negated = true;
        ++i;
    }
    while (i < close) {
        if (i + 2 < close && p[i + 1] == U'-') {
            token.ranges.push_back({p[i], p[i + 2]});
            i += 3;
        } else {
            token.ranges.push_back({p[i], p[i]});
            ++i;
        }
    }
    if (token.ranges.empty() && !token.negated) {
        return close + 1; // "[]" stands for the zero-length text
    }
    tokens_.push_back(std::move(token));
    return close + 1;
}

bool LikePattern::matchesOne(const Token& token, char32_t c) const {
    switch (token.kind) {
    case Kind::Literal:
        return token.literal == c;
    case Kind::AnyOne:
        return true;
    case Kind::List: {
        bool inList = false;
        for (const Range& r : token.ranges) {
            if (r.low <= c && c <= r.high) {
                inList = true;
                break;
            }
        }
        return inList != token.negated;
    }
    case Kind::AnyRun:
        break;
    }
    return false;
}

bool LikePattern::matches(std::string_view utf8Text) const {
    // A text with fewer characters than the pattern needs cannot match; this keeps a very
    // long pattern from costing time on every short row.
    if (utf8Text.size() < minimumLength_) {
        return false;
    }
    const std::u32string text = foldedCodePoints(utf8Text);
    if (text.size() < minimumLength_) {
        return false;
    }
    // Greedy matching that backtracks only to the latest '%': enough for patterns whose
    // other tokens each take exactly one character.
    std::size_t t = 0;
    std::size_t k = 0;
    std::size_t starToken = tokens_.size();
    std::size_t starText = 0;
    while (t < text.size()) {
        if (k < tokens_.size() && tokens_[k].kind == Kind::AnyRun) {
            starToken = k++;
            starText = t;
        } else if (k < tokens_.size() && matchesOne(tokens_[k], text[t])) {
            ++k;
            ++t;
        } else if (starToken != tokens_.size()) {
            k = starToken + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (k < tokens_.size() && tokens_[k].kind == Kind::AnyRun) {
        ++k;
    }
    return k == tokens_.size();
}

} // namespace textrules
