#include "textrules/text_collator.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

int sign(int v) {
    return (v > 0) - (v < 0);
}

struct OrderCase {
    const char* a;
    const char* b;
    int expected; // sign of compare(a, b)
};

class CollatorOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(CollatorOrder, ComparesAsTheShopEngine) {
    const textrules::TextCollator collator;
    const OrderCase& c = GetParam();
    EXPECT_EQ(sign(collator.compare(c.a, c.b)), c.expected) << c.a << " vs " << c.b;
    EXPECT_EQ(sign(collator.compare(c.b, c.a)), -c.expected) << c.b << " vs " << c.a;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CollatorOrder,
    ::testing::Values(OrderCase{"abc", "ABC", 0},         // case ignored
                      OrderCase{"TH-0123", "th-0123", 0}, // codes differing in case only
                      OrderCase{"A0005", "A0005   ", 0},  // trailing spaces ignored
                      OrderCase{"A0005", "  A0005", 1},   // leading spaces count
                      OrderCase{"A 5", "A5", -1},         // inner spaces count
                      OrderCase{"cafe", "café", -1},      // accents count
                      OrderCase{"กา", "ก่า", -1},          // Thai tone marks count
                      OrderCase{"ก่า", "ก้า", -1},
                      OrderCase{"เก", "กา", 1}, // leading vowel after its consonant
                      OrderCase{"ไก่", "ขา", -1}, OrderCase{"แมว", "มา", 1},
                      OrderCase{"zoo", "ก", -1}, // Latin before Thai
                      OrderCase{"Apple", "banana", -1}, OrderCase{"", " ", 0},
                      OrderCase{"", "a", -1}, OrderCase{"TH-0123", "TH0123", -1}));

// Identical bytes are answered before either path looks at them; that answer must be the
// one ICU gives, whatever the bytes are.
TEST(CollatorIdentical, SameBytesAreEqualAsIcuSaysTheyAre) {
    const textrules::TextCollator collator;
    const std::string texts[] = {"",
                                 "   ",
                                 "BE-MANY",
                                 "A0005  ",
                                 "ตำนานมังกรทองคำ ภาค ๓",
                                 "Dragon Café ดาบ",
                                 std::string("\xff\xfe\x80 broken", 10),
                                 std::string("nul\0inside", 10)};
    for (const std::string& text : texts) {
        const std::string copy = text; // another buffer: equal bytes, not the same pointer
        EXPECT_EQ(collator.compare(text, copy), 0) << text;
        EXPECT_EQ(collator.compareWithIcu(text, copy), 0) << text;
    }
}

// The ASCII path must agree with ICU everywhere, or an index mixing both paths would be
// inconsistent.
TEST(CollatorFastPath, AgreesWithIcuOnRandomAscii) {
    const textrules::TextCollator collator;
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> length(0, 8);
    std::uniform_int_distribution<int> pick(0, 127);
    const std::string common = "aAbB0-' _.zZ9";
    std::uniform_int_distribution<int> pickCommon(0, static_cast<int>(common.size()) - 1);
    for (int n = 0; n < 200000; ++n) {
        std::string a;
        std::string b;
        const bool wide = n % 2 == 0;
        for (int i = length(random); i > 0; --i) {
            a.push_back(static_cast<char>(wide ? pick(random) : common[pickCommon(random)]));
        }
        for (int i = length(random); i > 0; --i) {
            b.push_back(static_cast<char>(wide ? pick(random) : common[pickCommon(random)]));
        }
        ASSERT_EQ(sign(collator.compare(a, b)), sign(collator.compareWithIcu(a, b)))
            << "'" << a << "' vs '" << b << "'";
    }
}

} // namespace
