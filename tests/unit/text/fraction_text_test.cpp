// Exact numbers as the report writes them: reduced fractions, and six
// decimals rounded exactly, half away from zero.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "game/fraction.h"
#include "text/fraction_text.h"

namespace {

std::string fractionText(const Fraction& f) {
    char text[kFractionTextCapacity];
    formatFraction(f, text, sizeof text);
    return text;
}

std::string decimalsText(const Fraction& f) {
    char text[kFractionTextCapacity];
    formatFractionDecimals(f, 6, text, sizeof text);
    return text;
}

TEST(FractionText, ReducedAndRoundedHalfAwayFromZero) {
    // clang-format off
    const struct {
        int64_t numerator, denominator;
        const char* fraction;
        const char* decimals;
    } cases[] = {
        {10, 3, "10/3", "3.333333"},        {14, 24, "7/12", "0.583333"},
        {18, 4, "9/2", "4.500000"},         {6, -4, "-3/2", "-1.500000"},
        {-4, -2, "2", "2.000000"},          {0, -7, "0", "0.000000"},
        {-2, 1, "-2", "-2.000000"},         {2, 3, "2/3", "0.666667"},
        {1, 2000000, "1/2000000", "0.000001"},     // a tie rounds up
        {-1, 2000000, "-1/2000000", "-0.000001"},  // and down when negative
        {3, 2000000, "3/2000000", "0.000002"},     // 1.5 millionths: a tie too
        {-1, 3000000, "-1/3000000", "-0.000000"},  // the sign stays
        {1999999999, 2000000, "1999999999/2000000", "1000.000000"},
        {-1279, 6, "-1279/6", "-213.166667"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const Fraction f = reducedFraction(c.numerator, c.denominator);
        EXPECT_EQ(fractionText(f), c.fraction) << c.numerator << "/" << c.denominator;
        EXPECT_EQ(decimalsText(f), c.decimals) << c.numerator << "/" << c.denominator;
    }
}

// The digits of large numbers against the library's own conversion (which
// the program cannot use, as it allocates).
TEST(FractionText, LargeNumbersDigitForDigit) {
    std::mt19937_64 random(14);
    for (int bits = 1; bits <= 1000; bits += 37) {
        ExactInteger x = 0;
        for (int b = 0; b < bits; b += 64) x = (x << 64) | random();
        x >>= (bits + 63) / 64 * 64 - bits;
        if (bits % 2 == 0) x = -x;
        char text[kFractionTextCapacity];
        formatExactInteger(x, text, sizeof text);
        EXPECT_EQ(text, x.str()) << bits << " bits";
        EXPECT_EQ(fractionText(reducedFraction(x, 1)), x.str());
    }
}

// A float's fraction is its exact value: a power of two in the
// denominator, and the same float again when divided out.
TEST(FractionText, FloatsAsExactFractions) {
    const float values[] = {0.0f, 1.0f, -0.5f, 0.1f, 3.0520833f, -213.16667f, 2e7f, 1e-40f};
    for (float v : values) {
        const Fraction f = fractionOfFloat(v);
        const ExactInteger d = f.denominator;
        EXPECT_EQ(d & (d - 1), 0) << v;  // a power of two
        const double back = static_cast<double>(f.numerator) / static_cast<double>(d);
        EXPECT_EQ(static_cast<float>(back), v);
    }
    EXPECT_EQ(fractionText(fractionOfFloat(0.1f)), "13421773/134217728");
}

}  // namespace
