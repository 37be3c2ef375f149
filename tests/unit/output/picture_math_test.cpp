// The picture's own mathematics, held against the C library's over the
// ranges the picture uses (payoffs of millions, gaps down to 1e-12,
// iterations up to ten million).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "output/picture_math.h"

namespace {

// Within ten units in the last place of the library's answer: fifteen
// digits, where the picture needs six.
void expectClose(double ours, double library, const char* what, double x) {
    EXPECT_LE(std::fabs(ours - library), 2e-15 * std::fabs(library) + 1e-300)
        << what << "(" << x << "): " << ours << " against " << library;
}

TEST(PictureMath, AgainstTheLibrary) {
    std::mt19937_64 random(12);
    std::uniform_real_distribution<double> exponent(-300, 300);
    std::uniform_real_distribution<double> unit(-1, 1);
    for (int n = 0; n < 20000; ++n) {
        const double x = std::pow(10.0, exponent(random) / 10) * (1 + unit(random) * 0.5);
        expectClose(naturalLog(x), std::log(x), "log", x);
        expectClose(decimalLog(x), std::log10(x), "log10", x);
        expectClose(squareRoot(x), std::sqrt(x), "sqrt", x);
        const double y = unit(random) * 690;
        expectClose(naturalExp(y), std::exp(y), "exp", y);
        // Whole numbers, halves and everything between, of either sign.
        const double z = unit(random) * (n % 2 == 0 ? 1e7 : 4.0);
        for (const double v : {z, std::round(z), std::round(z) + 0.5, std::round(z) - 0.5}) {
            EXPECT_EQ(roundedDown(v), std::floor(v)) << v;
            EXPECT_EQ(roundedUp(v), std::ceil(v)) << v;
            EXPECT_EQ(roundedToNearest(v), std::round(v)) << v;
        }
    }
    // The powers of ten are the numbers their decimal text names.
    for (int e = -22; e <= 22; ++e) {
        const std::string text = "1e" + std::to_string(e);
        EXPECT_EQ(tenToThe(e), std::strtod(text.c_str(), nullptr)) << text;
        EXPECT_NEAR(decimalLog(tenToThe(e)), e, 1e-14) << text;
    }
}

}  // namespace
