// The store's collation must be a total order, or an index built with it goes wrong: it
// must be antisymmetric and transitive, blind to trailing spaces, and its ASCII fast path
// must give ICU's own answers.

#include "textrules/text_collator.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int sign(int v) {
    return (v > 0) - (v < 0);
}

const textrules::TextCollator& collator() {
    static const textrules::TextCollator instance;
    return instance;
}

[[noreturn]] void fail(const char* what, const std::string& a, const std::string& b,
                       const std::string& c = std::string()) {
    std::fprintf(stderr, "%s\na: '%s'\nb: '%s'\nc: '%s'\n", what, a.c_str(), b.c_str(), c.c_str());
    std::abort();
}

// Often plain ASCII, so the fast path is exercised as much as ICU.
std::string take(FuzzedDataProvider& input, bool ascii) {
    std::string s = input.ConsumeRandomLengthString(24);
    if (ascii) {
        for (char& ch : s) {
            ch = static_cast<char>(static_cast<unsigned char>(ch) & 0x7F);
        }
    }
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const bool ascii = input.ConsumeBool();
    const std::string a = take(input, ascii);
    const std::string b = take(input, ascii);
    const std::string c = take(input, ascii);
    const textrules::TextCollator& order = collator();

    const std::string* all[] = {&a, &b, &c};
    for (const std::string* x : all) {
        if (order.compare(*x, *x) != 0) {
            fail("a text differs from itself", *x, *x);
        }
        if (order.compare(*x + "   ", *x) != 0) {
            fail("trailing spaces count", *x, *x + "   ");
        }
        for (const std::string* y : all) {
            const int xy = sign(order.compare(*x, *y));
            if (xy != -sign(order.compare(*y, *x))) {
                fail("not antisymmetric", *x, *y);
            }
            if (xy != sign(order.compareWithIcu(*x, *y))) {
                fail("the fast path disagrees with ICU", *x, *y);
            }
        }
    }
    const int ab = sign(order.compare(a, b));
    const int bc = sign(order.compare(b, c));
    const int ac = sign(order.compare(a, c));
    if (ab <= 0 && bc <= 0 && ac > 0) {
        fail("not transitive: a <= b <= c but a > c", a, b, c);
    }
    if (ab >= 0 && bc >= 0 && ac < 0) {
        fail("not transitive: a >= b >= c but a < c", a, b, c);
    }
    if (ab == 0 && bc == 0 && ac != 0) {
        fail("equality not transitive", a, b, c);
    }
    return 0;
}
