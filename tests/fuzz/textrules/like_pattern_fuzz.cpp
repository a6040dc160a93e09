// The LIKE matcher against a plain reference: the same reading of the pattern, matched by
// exhaustive dynamic programming instead of the matcher's greedy backtracking. Also checks
// that any text, its special characters escaped, matches itself and only itself.

#include "textrules/like_pattern.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct RefToken {
    enum Kind { Literal, One, Run, List } kind;
    char32_t literal = 0;
    bool negated = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;
};

// The pattern as the shop's engine reads it; see like_pattern.h.
std::vector<RefToken> referenceTokens(const std::u32string& p, bool hasEscape, char32_t escape) {
    std::vector<RefToken> tokens;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (hasEscape && p[i] == escape && i + 1 < p.size()) {
            tokens.push_back({RefToken::Literal, p[++i], false, {}});
        } else if (p[i] == U'%') {
            tokens.push_back({RefToken::Run, 0, false, {}});
        } else if (p[i] == U'_') {
            tokens.push_back({RefToken::One, 0, false, {}});
        } else if (p[i] == U'[' && p.find(U']', i + 1) != std::u32string::npos) {
            const std::size_t close = p.find(U']', i + 1);
            RefToken list{RefToken::List, 0, false, {}};
            std::size_t j = i + 1;
            if (j < close && p[j] == U'!') {
                list.negated = true;
                ++j;
            }
            for (; j < close; ++j) {
                if (j + 2 < close && p[j + 1] == U'-') {
                    list.ranges.emplace_back(p[j], p[j + 2]);
                    j += 2;
                } else {
                    list.ranges.emplace_back(p[j], p[j]);
                }
            }
            if (list.negated || !list.ranges.empty()) {
                tokens.push_back(list);
            }
            i = close;
        } else {
            tokens.push_back({RefToken::Literal, p[i], false, {}});
        }
    }
    return tokens;
}

bool takes(const RefToken& t, char32_t c) {
    switch (t.kind) {
    case RefToken::Literal:
        return t.literal == c;
    case RefToken::One:
        return true;
    case RefToken::List: {
        bool in = false;
        for (const auto& [low, high] : t.ranges) {
            in = in || (low <= c && c <= high);
        }
        return in != t.negated;
    }
    case RefToken::Run:
        return false;
    }
    return false;
}

bool referenceMatch(const std::vector<RefToken>& tokens, const std::u32string& text) {
    // can[k][t]: tokens from k on match text from t on.
    const std::size_t n = tokens.size();
    const std::size_t m = text.size();
    std::vector<std::vector<char>> can(n + 1, std::vector<char>(m + 1, 0));
    can[n][m] = 1;
    for (std::size_t k = n; k-- > 0;) {
        for (std::size_t t = m + 1; t-- > 0;) {
            if (tokens[k].kind == RefToken::Run) {
                can[k][t] = can[k + 1][t] || (t < m && can[k][t + 1]);
            } else {
                can[k][t] = t < m && takes(tokens[k], text[t]) && can[k + 1][t + 1];
            }
        }
    }
    return can[0][0] != 0;
}

std::string utf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

[[noreturn]] void fail(const char* what, const std::string& pattern, const std::string& text) {
    std::fprintf(stderr, "%s\npattern: '%s'\ntext: '%s'\n", what, pattern.c_str(), text.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const bool hasEscape = input.ConsumeBool();
    const char escapeByte = hasEscape ? input.ConsumeIntegralInRange<char>(0x21, 0x7E) : '\0';
    const std::string pattern = input.ConsumeRandomLengthString(96);
    const std::string text = input.ConsumeRemainingBytesAsString().substr(0, 160);

    const std::optional<char32_t> escape =
        hasEscape ? std::optional<char32_t>(static_cast<char32_t>(escapeByte)) : std::nullopt;
    const textrules::LikePattern like(pattern, escape);
    const bool matched = like.matches(text);

    const std::u32string foldedEscape = textrules::foldedCodePoints(std::string(1, escapeByte));
    const auto tokens = referenceTokens(textrules::foldedCodePoints(pattern), hasEscape,
                                        hasEscape ? foldedEscape.front() : 0);
    if (matched != referenceMatch(tokens, textrules::foldedCodePoints(text))) {
        fail(matched ? "matched, the reference does not" : "the reference matches, it does not",
             pattern, text);
    }

    // The text with every special character escaped is a pattern for exactly that text.
    if (hasEscape) {
        std::string literal;
        for (char32_t c : textrules::foldedCodePoints(text)) {
            if (c == U'%' || c == U'_' || c == U'[' || c == foldedEscape.front()) {
                literal += escapeByte;
            }
            literal += utf8(c);
        }
        const textrules::LikePattern exact(literal, escape);
        if (!exact.matches(text)) {
            fail("an escaped text does not match itself", literal, text);
        }
        std::string shorter;
        const std::u32string folded = textrules::foldedCodePoints(text);
        for (std::size_t i = 1; i < folded.size(); ++i) {
            shorter += utf8(folded[i]);
        }
        if (exact.matches(text + "x") || (!folded.empty() && exact.matches(shorter))) {
            fail("an escaped text matches another text", literal, text);
        }
    }
    return 0;
}
