#include "output/picture_math.h"

#include <cstring>

namespace {

constexpr double kLn2 = 0.693147180559945309417232121458176568;
// ln 2 in two parts, the first with its low bits zero, so that k * kLn2High
// is exact for the k of naturalExp and the reduction loses nothing.
constexpr double kLn2High = 6.93147180369123816490e-01;
constexpr double kLn2Low = 1.90821492927058770002e-10;
constexpr double kLn10 = 2.302585092994045684017991454684364208;
constexpr double kSqrtHalf = 0.707106781186547524400844362104849039;

int64_t bitsOf(double x) {
    int64_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

double doubleOfBits(int64_t bits) {
    double x = 0;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

// 2 to the k for a k of a normal number's exponent.
double twoToThe(int k) { return doubleOfBits(static_cast<int64_t>(k + 1023) << 52); }

}  // namespace

// x = m * 2^e with m in [sqrt(1/2), sqrt(2)); then ln m = 2 atanh(s) with
// s = (m - 1) / (m + 1), |s| < 0.172, whose series has halved its terms'
// size three times over by the twelfth.
double naturalLog(double x) {
    if (!(x > 0) || x > 1.7e308) return x > 0 ? 709.8 : -745.2;
    int exponent = 0;
    while (x < 2.3e-308) {        // below the normal numbers: scaled up first
        x *= 4503599627370496.0;  // 2^52
        exponent -= 52;
    }
    const int64_t bits = bitsOf(x);
    exponent += static_cast<int>((bits >> 52) & 0x7FF) - 1023;
    double m = doubleOfBits((bits & ((int64_t{1} << 52) - 1)) | (int64_t{1023} << 52));
    if (m < 2 * kSqrtHalf) {
        // already in [1, sqrt 2)
    } else {
        m *= 0.5;
        exponent += 1;
    }
    const double s = (m - 1) / (m + 1);
    const double s2 = s * s;
    double term = s;
    double sum = 0;
    for (int odd = 1; odd <= 31; odd += 2) {
        sum += term / odd;
        term *= s2;
    }
    return exponent * kLn2 + 2 * sum;
}

// x = k ln 2 + r with |r| <= ln 2 / 2, e^r by its series, times 2^k.
double naturalExp(double x) {
    if (x < -700) return 0;
    if (x > 700) return 1e304;
    const double k = roundedToNearest(x / kLn2);
    const double r = (x - k * kLn2High) - k * kLn2Low;
    double term = 1;
    double sum = 1;
    for (int n = 1; n <= 20; ++n) {
        term *= r / n;
        sum += term;
    }
    return sum * twoToThe(static_cast<int>(k));
}

double decimalLog(double x) { return naturalLog(x) / kLn10; }

double tenToThe(int e) {
    if (e < 0) return 1 / tenToThe(-e);
    double power = 1;
    for (int n = 0; n < e; ++n) power *= 10;
    return power;
}

double squareRoot(double x) {
    if (!(x > 0)) return 0;
    // A first guess from the logarithm, then Newton's steps, each of which
    // doubles the digits that are right.
    double root = naturalExp(0.5 * naturalLog(x));
    for (int step = 0; step < 3; ++step) root = 0.5 * (root + x / root);
    return root;
}

double roundedDown(double x) {
    const auto whole = static_cast<double>(static_cast<int64_t>(x));
    return whole > x ? whole - 1 : whole;
}

double roundedUp(double x) {
    const auto whole = static_cast<double>(static_cast<int64_t>(x));
    return whole < x ? whole + 1 : whole;
}

double roundedToNearest(double x) { return x < 0 ? -roundedDown(-x + 0.5) : roundedDown(x + 0.5); }

double niceTickStep(double range) {
    const double rough = range / 6;
    const double power = tenToThe(static_cast<int>(roundedDown(decimalLog(rough))));
    const double scaled = rough / power;
    if (scaled < 1.5) return power;
    if (scaled < 3.5) return 2 * power;
    if (scaled < 7.5) return 5 * power;
    return 10 * power;
}
