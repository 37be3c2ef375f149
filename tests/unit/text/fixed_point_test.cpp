#include "text/fixed_point.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

struct FixedCase {
    double value;
    int decimals;
    const char* expected;
};

// The text of formatFixed with ample room; the returned length must match.
std::string fixedText(double value, int decimals) {
    char buffer[2048];
    memset(buffer, 'x', sizeof buffer);
    const int length = formatFixed(value, decimals, buffer, sizeof buffer);
    EXPECT_EQ(static_cast<size_t>(length), strlen(buffer));
    return std::string(buffer);
}

template <size_t N>
void expectTable(const FixedCase (&cases)[N]) {
    for (const FixedCase& c : cases) {
        EXPECT_EQ(fixedText(c.value, c.decimals), c.expected)
            << "value " << std::hexfloat << c.value << " decimals " << c.decimals;
    }
}

TEST(FormatFixed, ExactTiesRoundAwayFromZero) {
    const FixedCase cases[] = {
        {3.125, 2, "3.13"},
        {0.125, 2, "0.13"},
        {0.375, 2, "0.38"},
        {2.5, 0, "3"},
        {0.5, 0, "1"},
        {1.5, 0, "2"},
        {1234567.875, 2, "1234567.88"},
        // Odd multiples of 1/128 end in a 5 at the seventh decimal.
        {1.0 / 128, 6, "0.007813"},
        {3.0 / 128, 6, "0.023438"},
        {5.0078125, 6, "5.007813"},
        {17.0 + 1.0 / 128, 6, "17.007813"},
    };
    expectTable(cases);
}

TEST(FormatFixed, NegativeTiesRoundAwayFromZero) {
    // clang-format off
    const FixedCase cases[] = {
        {-3.125, 2, "-3.13"},
        {-0.125, 2, "-0.13"},
        {-2.5, 0, "-3"},
        {-0.5, 0, "-1"},
        {-1.0 / 128, 6, "-0.007813"},
    };
    // clang-format on
    expectTable(cases);
}

TEST(FormatFixed, ValuesWithoutRoundingKeepTheirDigits) {
    const FixedCase cases[] = {
        {2.5, 2, "2.50"},
        {3.75, 2, "3.75"},
        {0.0, 2, "0.00"},
        {0.0, 6, "0.000000"},
        {1.0 / 64, 6, "0.015625"},
        {-0.5, 6, "-0.500000"},
        {42.0, 0, "42"},
        {7.25, 1, "7.3"},
        {0.1, 17, "0.10000000000000001"},
        {0.3, 17, "0.29999999999999999"},
        {1.0 / 3, 17, "0.33333333333333331"},
        {0.1, 20, "0.10000000000000001000"},
    };
    expectTable(cases);
}

TEST(FormatFixed, NeighboursOfATieRoundByTheirExactValue) {
    const FixedCase cases[] = {
        {std::nextafter(3.125, 0.0), 2, "3.12"},
        {std::nextafter(3.125, 4.0), 2, "3.13"},
        {std::nextafter(-3.125, 0.0), 2, "-3.12"},
        {std::nextafter(-3.125, -4.0), 2, "-3.13"},
        {std::nextafter(2.5, 0.0), 0, "2"},
        {std::nextafter(2.5, 3.0), 0, "3"},
        {std::nextafter(0.5, 0.0), 0, "0"},
        {std::nextafter(1.0 / 128, 0.0), 6, "0.007812"},
        {std::nextafter(1.0 / 128, 1.0), 6, "0.007813"},
    };
    expectTable(cases);
}

// Each of these doubles lies a little below a tie; its exact expansion would
// round down, but rounded to 17 significant digits it is the tie itself.
TEST(FormatFixed, SeventeenSignificantDigitsComeFirst) {
    // clang-format off
    const FixedCase cases[] = {
        {2.835, 2, "2.84"},         // 2.83499999999999996447...
        {2.835, 17, "2.83500000000000000"},
        {1.115, 2, "1.12"},         // 1.11499999999999999111...
        {1.0984185, 6, "1.098419"},  // 1.09841849999999996434...
        {-1.0984185, 6, "-1.098419"},
        {1.0984185, 7, "1.0984185"},
        {17.9819295, 6, "17.981930"},  // 17.98192949999999967758...
        {0.1756055, 6, "0.175606"},    // 0.17560549999999999770...
        // Below a tie by more than the 17th digit: these round down.
        {1.005, 2, "1.00"},  // 1.00499999999999989341...
        {2.675, 2, "2.67"},  // 2.67499999999999982236...
        {5e-7, 6, "0.000000"},
        // 9.99...97690e97: the 17-digit rounding carries into a new digit.
        {1e98, 0, "1000000000000000000000000000000000000000000000000"
                  "00000000000000000000000000000000000000000000000000"},
    };
    // clang-format on
    expectTable(cases);
}

TEST(FormatFixed, RoundingCarriesIntoTheIntegerPart) {
    const FixedCase cases[] = {
        {9.996, 2, "10.00"},
        {99.5, 0, "100"},
        {0.9999996, 6, "1.000000"},
        {-0.9999996, 6, "-1.000000"},
    };
    expectTable(cases);
}

TEST(FormatFixed, NegativeValuesKeepTheSignWhenAllDigitsAreZero) {
    // clang-format off
    const FixedCase cases[] = {
        {-0.004, 2, "-0.00"},
        {-0.001, 2, "-0.00"},
        {-0.0, 2, "-0.00"},
        {-0.0, 0, "-0"},
        {-0.0000004, 6, "-0.000000"},
        {-0.4, 0, "-0"},
    };
    // clang-format on
    expectTable(cases);
}

TEST(FormatFixed, LargeValuesPrintEveryIntegerDigit) {
    const std::string dblMax = "17976931348623157" + std::string(292, '0') + ".000000";
    const std::string fltMax = "34028234663852886" + std::string(22, '0') + ".00";
    EXPECT_EQ(fixedText(DBL_MAX, 6), dblMax);
    EXPECT_EQ(fixedText(-DBL_MAX, 6), "-" + dblMax);
    EXPECT_EQ(fixedText(static_cast<double>(FLT_MAX), 2), fltMax);
    EXPECT_EQ(fixedText(3.4028234663852886e38, 2), fltMax);
    const FixedCase cases[] = {
        {1e20, 6, "100000000000000000000.000000"},
        {9223372036854775808.0, 2, "9223372036854775800.00"},    // 2^63
        {18446744073709551616.0, 2, "18446744073709552000.00"},  // 2^64
        {123456789012345678.0, 2, "123456789012345680.00"},
        {16777216.0, 2, "16777216.00"},
    };
    expectTable(cases);
}

TEST(FormatFixed, TinyValuesPrintAsZero) {
    const double smallest = std::numeric_limits<double>::denorm_min();
    const FixedCase cases[] = {
        {smallest, 6, "0.000000"},
        {-smallest, 6, "-0.000000"},
        {-smallest, 2, "-0.00"},
        {DBL_MIN, 17, "0.00000000000000000"},
        {std::ldexp(12345.0, -1070), 6, "0.000000"},
        {1e-7, 6, "0.000000"},
    };
    expectTable(cases);
}

TEST(FormatFixed, SubnormalDigitsAreExact) {
    // 2^-1074 = 4.94065645841246544176...e-324, rounded to 17 digits.
    const double smallest = std::numeric_limits<double>::denorm_min();
    EXPECT_EQ(fixedText(smallest, 340), "0." + std::string(323, '0') + "49406564584124654");
    EXPECT_EQ(fixedText(smallest, 330), "0." + std::string(323, '0') + "4940656");
    EXPECT_EQ(fixedText(-smallest, 324), "-0." + std::string(323, '0') + "5");
}

// The program prints floats widened to double.
TEST(FormatFixed, WidenedFloats) {
    const FixedCase cases[] = {
        // 2.8333332538604736328125
        {static_cast<double>(static_cast<float>(17.0 / 6)), 2, "2.83"},
        {static_cast<double>(static_cast<float>(17.0 / 6)), 6, "2.833333"},
        // 0.100000001490116119384765625
        {static_cast<double>(0.1f), 6, "0.100000"},
        // 0.3333333432674407958984375
        {static_cast<double>(1.0f / 3), 2, "0.33"},
        {static_cast<double>(1.0f / 3), 6, "0.333333"},
        // 0.699999988079071044921875
        {static_cast<double>(0.7f), 2, "0.70"},
        {static_cast<double>(0.7f), 6, "0.700000"},
        // 2.6749999523162841796875
        {static_cast<double>(2.675f), 2, "2.67"},
        {static_cast<double>(2.675f), 6, "2.675000"},
        // 2.835000038146972656250
        {static_cast<double>(2.835f), 2, "2.84"},
        // -0.004999999888241291046142578125
        {static_cast<double>(-0.005f), 2, "-0.00"},
        {static_cast<double>(-0.005f), 6, "-0.005000"},
        // 3.099999904632568359375
        {static_cast<double>(3.1f), 2, "3.10"},
        {static_cast<double>(3.125f), 2, "3.13"},
        {static_cast<double>(-3.125f), 2, "-3.13"},
        {static_cast<double>(0.015625f), 2, "0.02"},
        {static_cast<double>(1234567.875f), 6, "1234567.875000"},
        {static_cast<double>(1234567.875f), 2, "1234567.88"},
        {static_cast<double>(1e7f), 6, "10000000.000000"},
        {static_cast<double>(-1e7f), 6, "-10000000.000000"},
        {static_cast<double>(9999999.0f), 6, "9999999.000000"},
    };
    expectTable(cases);
}

TEST(FormatFixed, NonFiniteValues) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const FixedCase cases[] = {
        {inf, 6, "inf"},
        {-inf, 2, "-inf"},
        {nan, 6, "nan"},
        {-nan, 2, "nan"},
    };
    expectTable(cases);
}

TEST(FormatFixed, NegativeDecimalsPrintLikeZeroDecimals) { EXPECT_EQ(fixedText(2.5, -3), "3"); }

// Sentinels around the buffer catch any write past capacity.
struct CutCase {
    double value;
    int decimals;
    int capacity;
    const char* expected;
};

TEST(FormatFixed, TextThatDoesNotFitIsCut) {
    const std::string dblMax = "17976931348623157" + std::string(292, '0') + ".000000";
    // clang-format off
    const CutCase cases[] = {
        {3.125, 2, 5, "3.13"},  // exactly fits
        {3.125, 2, 4, "3.1"},
        {3.125, 2, 3, "3."},
        {3.125, 2, 2, "3"},
        {3.125, 2, 1, ""},
        {-0.004, 2, 2, "-"},
        {-0.004, 2, 3, "-0"},
        {-std::numeric_limits<double>::infinity(), 6, 3, "-i"},
        {DBL_MAX, 6, 20, "1797693134862315700"},
        {DBL_MAX, 6, 310, "17976931348623157" "00000000000000000000000000000000000000000000000000"
                          "00000000000000000000000000000000000000000000000000"
                          "00000000000000000000000000000000000000000000000000"
                          "00000000000000000000000000000000000000000000000000"
                          "00000000000000000000000000000000000000000000000000"
                          "000000000000000000000000000000000000000000"},
        {DBL_MAX, 6, 311, nullptr},  // the point fits, no decimal does
        {0.5, 1000000, 12, "0.500000000"},
    };
    // clang-format on
    for (const CutCase& c : cases) {
        char buffer[400];
        memset(buffer, 'x', sizeof buffer);
        char* out = buffer + 8;
        const int length = formatFixed(c.value, c.decimals, out, c.capacity);
        const std::string expected =
            c.expected != nullptr ? std::string(c.expected) : dblMax.substr(0, 310);
        EXPECT_EQ(std::string(out), expected) << "capacity " << c.capacity;
        EXPECT_EQ(length, static_cast<int>(expected.size())) << "capacity " << c.capacity;
        for (int i = 0; i < 8; ++i) EXPECT_EQ(buffer[i], 'x');
        for (int i = 8 + c.capacity; i < static_cast<int>(sizeof buffer); ++i) {
            ASSERT_EQ(buffer[i], 'x') << "written past capacity " << c.capacity;
        }
    }
}

TEST(FormatFixed, NoRoomWritesNothing) {
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(formatFixed(3.125, 2, buffer, 0), 0);
    EXPECT_EQ(formatFixed(3.125, 2, buffer, -5), 0);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(formatFixed(3.125, 2, nullptr, 10), 0);
}

// An independent reference for values k / 2^f whose exact decimal
// expansion k * 5^f fits in 128 bits: both roundings done on integers.
__extension__ typedef unsigned __int128 Wide;

Wide powerOf(unsigned base, int exponent) {
    Wide result = 1;
    for (int i = 0; i < exponent; ++i) result *= base;
    return result;
}

std::string wideDigits(Wide value) {
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    } while (value != 0);
    return digits;
}

Wide roundHalfUp(Wide value, int droppedDigits) {
    const Wide unit = powerOf(10, droppedDigits);
    const Wide remainder = value % unit;
    return value / unit + (remainder * 2 >= unit ? 1 : 0);
}

// The text of (negative ? -1 : 1) * scaled / 10^scale with `decimals` decimals.
std::string referenceText(Wide scaled, int scale, bool negative, int decimals) {
    const int length = static_cast<int>(wideDigits(scaled).size());
    if (scaled != 0 && length > 17) {
        scaled = roundHalfUp(scaled, length - 17) * powerOf(10, length - 17);
    }
    if (scale > decimals) {
        // A number with fewer digits than are dropped is below half a unit.
        scaled = scale - decimals > length ? 0 : roundHalfUp(scaled, scale - decimals);
        scale = decimals;
    }
    std::string digits = wideDigits(scaled) + std::string(decimals - scale, '0');
    if (static_cast<int>(digits.size()) <= decimals) {
        digits.insert(0, decimals + 1 - digits.size(), '0');
    }
    std::string text = negative ? "-" : "";
    text += digits.substr(0, digits.size() - decimals);
    if (decimals > 0) text += "." + digits.substr(digits.size() - decimals);
    return text;
}

TEST(FormatFixed, AgreesWithIntegerReference) {
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 200000; ++i) {
        const int kind = i % 3;
        const bool negative = (random() & 1) != 0;
        const int decimals = static_cast<int>(random() % 18);
        uint64_t mantissa = 0;
        int fractionBits = 0;
        int integerShift = 0;
        if (kind == 0) {  // full double mantissas
            mantissa = random() >> (11 + random() % 40);
            fractionBits = static_cast<int>(random() % 32);
        } else if (kind == 1) {  // floats widened to double
            mantissa = random() >> 40;
            fractionBits = static_cast<int>(random() % 41);
        } else {  // integers beyond 2^53
            mantissa = random() >> 11;
            integerShift = static_cast<int>(random() % 71);
        }
        double value = std::ldexp(static_cast<double>(mantissa), integerShift - fractionBits);
        if (negative) value = -value;
        const Wide scaled = (Wide{mantissa} << integerShift) * powerOf(5, fractionBits);
        const std::string expected = referenceText(scaled, fractionBits, negative, decimals);
        ASSERT_EQ(fixedText(value, decimals), expected)
            << "mantissa " << mantissa << " / 2^" << fractionBits << " * 2^" << integerShift;
    }
}

TEST(FormatFixed, ReferenceItselfHandlesKnownCases) {
    // 2.83499999999999996447 goes to 2.8350000000000000 first.
    const Wide justBelowTie = Wide{283499999999999996ull} * 1000 + 447;
    EXPECT_EQ(referenceText(justBelowTie, 20, false, 2), "2.84");
    EXPECT_EQ(referenceText(justBelowTie, 20, false, 17), "2.83500000000000000");
    EXPECT_EQ(referenceText(25 * powerOf(5, 3), 3, true, 2), "-3.13");
    EXPECT_EQ(referenceText(0, 0, true, 2), "-0.00");
}

}  // namespace
