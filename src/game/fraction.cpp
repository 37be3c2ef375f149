#include "game/fraction.h"

#include <cmath>
#include <cstdint>

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

// frexp splits the magnitude exactly into a mantissa in [0.5, 1) and an
// exponent; the mantissa times 2^24 is a whole number for every float,
// subnormal ones included.
Fraction fractionOfFloat(float value) {
    int exponent = 0;
    const float mantissa = std::frexp(std::fabs(value), &exponent);
    ExactInteger numerator = static_cast<uint32_t>(std::ldexp(mantissa, 24));
    ExactInteger denominator = 1;
    exponent -= 24;
    if (exponent >= 0) {
        numerator <<= exponent;
    } else {
        denominator <<= -exponent;
    }
    if (value < 0) numerator = -numerator;
    return reducedFraction(numerator, denominator);
}

Fraction fractionDifference(const Fraction& a, const Fraction& b) {
    return reducedFraction(a.numerator * b.denominator - b.numerator * a.denominator,
                           a.denominator * b.denominator);
}
