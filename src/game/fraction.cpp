#include "game/fraction.h"

#include <cstdint>
#include <cstring>

Fraction reducedFraction(const ExactInteger& numerator, const ExactInteger& denominator) {
    Fraction f = {numerator, denominator};
    if (f.denominator < 0) {
        f.numerator = -f.numerator;
        f.denominator = -f.denominator;
    }
    const ExactInteger common = boost::multiprecision::gcd(abs(f.numerator), f.denominator);
    if (common > 1) {
        f.numerator /= common;
        f.denominator /= common;
    }
    return f;
}

// The float's bits: a sign, an 8-bit exponent and 23 bits of mantissa,
// with the leading 1 implied unless the exponent field is 0 (zero and the
// subnormal floats). Its value is the 24-bit mantissa times
// 2^(exponent - 150).
Fraction fractionOfFloat(float value) {
    uint32_t bits = 0;
    memcpy(&bits, &value, sizeof bits);
    const int32_t exponentField = static_cast<int32_t>((bits >> 23) & 0xff);
    uint32_t mantissa = bits & 0x7fffff;
    int32_t exponent = -149;
    if (exponentField != 0) {
        mantissa |= uint32_t{1} << 23;
        exponent = exponentField - 150;
    }
    ExactInteger numerator = mantissa;
    ExactInteger denominator = 1;
    if (exponent >= 0) {
        numerator <<= exponent;
    } else {
        denominator <<= -exponent;
    }
    if ((bits >> 31) != 0) numerator = -numerator;
    return reducedFraction(numerator, denominator);
}

Fraction fractionDifference(const Fraction& a, const Fraction& b) {
    return reducedFraction(a.numerator * b.denominator - b.numerator * a.denominator,
                           a.denominator * b.denominator);
}

namespace {

// The magnitude as a double times 2 to the power *scale: its top 62 bits
// made a whole number of 64 (Boost's own conversion to double would bring
// in the C library's mathematics, which the program does without).
double scaledMagnitude(const ExactInteger& number, int* scale) {
    ExactInteger magnitude = abs(number);
    *scale = 0;
    if (magnitude == 0) return 0;
    const int bits = static_cast<int>(msb(magnitude)) + 1;
    if (bits > 62) {
        *scale = bits - 62;
        magnitude >>= *scale;
    }
    return static_cast<double>(magnitude.convert_to<int64_t>());
}

}  // namespace

double fractionToDouble(const Fraction& value) {
    int numeratorScale = 0;
    int denominatorScale = 0;
    double quotient = scaledMagnitude(value.numerator, &numeratorScale) /
                      scaledMagnitude(value.denominator, &denominatorScale);
    for (int n = numeratorScale - denominatorScale; n > 0; --n) quotient *= 2;
    for (int n = numeratorScale - denominatorScale; n < 0; ++n) quotient *= 0.5;
    return value.numerator < 0 ? -quotient : quotient;
}
