#include "textrules/like_pattern.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct LikeCase {
    const char* pattern;
    const char* text;
    bool expected;
};

class LikeMatching : public ::testing::TestWithParam<LikeCase> {};

TEST_P(LikeMatching, MatchesAsTheShopEngine) {
    const LikeCase& c = GetParam();
    EXPECT_EQ(textrules::LikePattern(c.pattern).matches(c.text), c.expected)
        << "'" << c.text << "' LIKE '" << c.pattern << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LikeMatching,
    ::testing::Values(
        LikeCase{"%%", "", true}, LikeCase{"%%", "anything", true}, LikeCase{"", "", true},
        LikeCase{"", "a", false}, LikeCase{"%ขาย%", "ขายหัวเราะ", true}, // at the start
        LikeCase{"%หัว%", "ขายหัวเราะ", true},                            // in the middle
        LikeCase{"%เราะ%", "ขายหัวเราะ", true},                          // at the end
        LikeCase{"%หัวเรา%", "ขายหัวเราะ", true}, LikeCase{"%หัวเราะ %", "ขายหัวเราะ", false},
        LikeCase{"%conan%", "Detective CONAN", true},                          // case ignored
        LikeCase{"%ÉTÉ%", "un été", true}, LikeCase{"%ete%", "un été", false}, // accents count
        LikeCase{"a_c", "abc", true}, LikeCase{"a_c", "ac", false},
        LikeCase{"a_c", "aกc", true}, // one character
        LikeCase{"%[xyz]%", "ab y", true}, LikeCase{"%[xyz]%", "abc", false},
        LikeCase{"[a-c]1", "B1", true}, LikeCase{"[a-c]1", "d1", false},
        LikeCase{"[!abc]1", "d1", true}, LikeCase{"[!abc]1", "A1", false},
        LikeCase{"%[%]%", "50% off", true}, LikeCase{"%[%]%", "50 off", false},
        LikeCase{"%[_]%", "a_b", true}, LikeCase{"%[_]%", "ab", false},
        LikeCase{"%[[]%", "[x", true}, LikeCase{"%[%", "a[b", true}, // unclosed: literal
        LikeCase{"%[%", "ab", false}, LikeCase{"a[]b", "ab", true}, LikeCase{"%]%", "a]b", true},
        LikeCase{"%*%", "a*b", true}, // no DAO wildcards
        LikeCase{"%?%", "ab", false}, LikeCase{"%#%", "a1", false}, LikeCase{"ab ", "ab", false},
        LikeCase{"ab", "ab ", false}, // spaces count
        LikeCase{"%a%b%c%", "xaxbxcx", true}, LikeCase{"%a%b%c%", "xaxcxbx", false},
        LikeCase{"%x' OR '1'='1%", "x' OR '1'='1", true}, LikeCase{"%😀%", "smile 😀!", true},
        LikeCase{"_", "😀", true}));

TEST(LikeMatching, EscapeMakesTheNextCharacterLiteral) {
    EXPECT_TRUE(textrules::LikePattern("100!%", U'!').matches("100%"));
    EXPECT_FALSE(textrules::LikePattern("100!%", U'!').matches("1000"));
}

TEST(LikeMatching, LongPatternAgainstShortTextIsRejectedQuickly) {
    const std::string pattern = "%" + std::string(10000, 'a') + "%";
    const textrules::LikePattern like(pattern);
    for (int i = 0; i < 100000; ++i) {
        ASSERT_FALSE(like.matches("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"));
    }
    EXPECT_TRUE(like.matches(std::string(10001, 'A')));
}

} // namespace
