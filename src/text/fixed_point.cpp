// The digits of "%f" and "%.2f" are computed here rather than by the C
// library, because library formatters disagree on exact ties (3.125 with
// two decimals) and the report must look the same everywhere.
//
// A finite double is an integer mantissa times a power of two, so its
// decimal expansion is finite. It is built exactly in a fixed array of
// decimal digits by scaling the mantissa's digits up or down by powers of
// two, then rounded twice: to 17 significant digits, then at the last
// printed decimal, both times half away from zero.
#include "text/fixed_point.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "text/text_buffer.h"

namespace {

// The largest double has 309 integer digits; one more leaves room for a
// carry out of the leading digit.
constexpr int kIntegerDigits = 310;
// The smallest subnormal, 2^-1074, has 1074 digits after the point.
constexpr int kFractionDigits = 1074;
constexpr int kDigitCount = kIntegerDigits + kFractionDigits;
// Index of the units digit; index kUnitsIndex + n is the n-th decimal.
constexpr int kUnitsIndex = kIntegerDigits - 1;
constexpr int kSignificantDigits = 17;
// Bits scaled per pass: a digit times 2^59 plus the carry stays below 2^63.
constexpr int kBitsPerPass = 59;

constexpr int kMantissaBits = 52;
constexpr int kExponentBias = 1075;  // bias 1023 plus the 52 mantissa bits
constexpr uint64_t kMantissaMask = (uint64_t{1} << kMantissaBits) - 1;
constexpr int kExponentAllOnes = 0x7ff;

// Digits most significant first; only digit[first..last] can be non-zero.
struct DecimalDigits {
    uint8_t digit[kDigitCount];
    int first;
    int last;
};

// Puts a non-negative integer into the digits so that its last digit is
// the units digit.
void loadInteger(DecimalDigits* d, uint64_t value) {
    int index = kUnitsIndex;
    d->last = kUnitsIndex;
    do {
        d->digit[index] = static_cast<uint8_t>(value % 10);
        value /= 10;
        --index;
    } while (value != 0);
    d->first = index + 1;
}

// Multiplies by 2^bits (bits <= kBitsPerPass); new digits grow at the front.
void multiplyByPowerOfTwo(DecimalDigits* d, int bits) {
    uint64_t carry = 0;
    for (int index = d->last; index >= d->first; --index) {
        const uint64_t value = (uint64_t{d->digit[index]} << bits) + carry;
        d->digit[index] = static_cast<uint8_t>(value % 10);
        carry = value / 10;
    }
    while (carry != 0) {
        --d->first;
        d->digit[d->first] = static_cast<uint8_t>(carry % 10);
        carry /= 10;
    }
}

// Divides by 2^bits (bits <= kBitsPerPass); the quotient is exact, so the
// remainder runs out after at most `bits` new digits at the back.
void divideByPowerOfTwo(DecimalDigits* d, int bits) {
    const uint64_t mask = (uint64_t{1} << bits) - 1;
    uint64_t remainder = 0;
    for (int index = d->first; index <= d->last; ++index) {
        remainder = remainder * 10 + d->digit[index];
        d->digit[index] = static_cast<uint8_t>(remainder >> bits);
        remainder &= mask;
    }
    while (remainder != 0) {
        ++d->last;
        remainder *= 10;
        d->digit[d->last] = static_cast<uint8_t>(remainder >> bits);
        remainder &= mask;
    }
    while (d->first < d->last && d->digit[d->first] == 0) ++d->first;
}

void scaleByPowerOfTwo(DecimalDigits* d, int exponent) {
    while (exponent > 0) {
        const int bits = exponent < kBitsPerPass ? exponent : kBitsPerPass;
        multiplyByPowerOfTwo(d, bits);
        exponent -= bits;
    }
    while (exponent < 0) {
        const int bits = -exponent < kBitsPerPass ? -exponent : kBitsPerPass;
        divideByPowerOfTwo(d, bits);
        exponent += bits;
    }
}

// The exact magnitude of a finite double. The mantissa's trailing zero
// bits are moved into the exponent first, so that no pass scales them.
void loadExactMagnitude(DecimalDigits* d, uint64_t bits) {
    const int biasedExponent = static_cast<int>((bits >> kMantissaBits) & kExponentAllOnes);
    uint64_t mantissa = bits & kMantissaMask;
    int exponent = 1 - kExponentBias;  // subnormals and zero
    if (biasedExponent != 0) {
        mantissa |= uint64_t{1} << kMantissaBits;
        exponent = biasedExponent - kExponentBias;
    }
    while (mantissa != 0 && (mantissa & 1) == 0) {
        mantissa >>= 1;
        ++exponent;
    }
    loadInteger(d, mantissa);
    if (mantissa != 0) scaleByPowerOfTwo(d, exponent);
}

// Keeps the digits up to `index` and drops the rest, raising the kept part
// by one unit when the dropped part is half a unit or more. Digits are
// magnitudes, so this is half away from zero for either sign.
void roundAt(DecimalDigits* d, int index) {
    if (index >= d->last) return;
    const bool up = d->digit[index + 1] >= 5;
    memset(&d->digit[index + 1], 0, static_cast<size_t>(d->last - index));
    d->last = index;
    if (!up) return;
    while (d->digit[index] == 9) {
        d->digit[index] = 0;
        --index;
    }
    ++d->digit[index];
    if (index < d->first) d->first = index;
}

// The n-th digit after the point; past the array every digit is 0.
int decimalDigit(const DecimalDigits* d, int n) {
    return n <= kFractionDigits ? d->digit[kUnitsIndex + n] : 0;
}

void emitDigits(TextBuffer* out, const DecimalDigits* d, int decimals) {
    const int start = d->first < kUnitsIndex ? d->first : kUnitsIndex;
    for (int index = start; index <= kUnitsIndex; ++index) {
        appendChar(out, static_cast<char>('0' + d->digit[index]));
    }
    if (decimals == 0) return;
    appendChar(out, '.');
    for (int n = 1; n <= decimals && !textFull(out); ++n) {
        appendChar(out, static_cast<char>('0' + decimalDigit(d, n)));
    }
}

void emitFinite(TextBuffer* out, uint64_t bits, int decimals) {
    DecimalDigits d;
    memset(d.digit, 0, sizeof d.digit);
    loadExactMagnitude(&d, bits);
    roundAt(&d, d.first + kSignificantDigits - 1);
    // Past the array nothing is left to round away.
    roundAt(&d, kUnitsIndex + (decimals < kFractionDigits ? decimals : kFractionDigits));
    emitDigits(out, &d, decimals);
}

// Most values the program prints are small and far from a tie: for them
// the digits come from one multiplication. The product value * 10^decimals
// is off the exact one by at most two units in its last place, and the
// rounding to 17 significant digits moves the value by less than one
// more; so when the product's fraction lies further than that (with
// ample room to spare) from one half, the exact rule rounds it the same
// way. Everything else, and every tie, takes the exact way.
constexpr int kQuickDecimals = 9;
constexpr double kQuickLimit = 1e15;    // products whose whole part a double holds exactly
constexpr double kQuickMargin = 1e-14;  // relative room around a half, about 45 units

bool emitQuickly(TextBuffer* out, double value, int decimals) {
    // Not for NaN nor for a negative value, -0 included.
    if (!(value >= 0.0) || std::signbit(value) || decimals > kQuickDecimals) return false;
    double scale = 1.0;
    for (int n = 0; n < decimals; ++n) scale *= 10.0;
    const double product = value * scale;
    if (!(product < kQuickLimit)) return false;
    const double whole = static_cast<double>(static_cast<uint64_t>(product));
    const double fraction = product - whole;
    const double distance = fraction > 0.5 ? fraction - 0.5 : 0.5 - fraction;
    if (distance <= (product + 1.0) * kQuickMargin) return false;
    uint64_t digits = static_cast<uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    char reversed[32];
    int count = 0;
    for (int n = 0; n < decimals; ++n) {
        reversed[count++] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    if (decimals > 0) reversed[count++] = '.';
    do {
        reversed[count++] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    } while (digits != 0);
    while (count > 0) appendChar(out, reversed[--count]);
    return true;
}

}  // namespace

int formatFixed(double value, int decimals, char* out, int capacity) {
    if (out == nullptr || capacity <= 0) return 0;
    TextBuffer text = boundedText(out, capacity);
    if (emitQuickly(&text, value, decimals)) return endText(&text);
    uint64_t bits = 0;
    memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const bool allOnesExponent = ((bits >> kMantissaBits) & kExponentAllOnes) == kExponentAllOnes;
    if (allOnesExponent && (bits & kMantissaMask) != 0) {
        appendText(&text, "nan");
    } else {
        if (negative) appendChar(&text, '-');
        if (allOnesExponent) {
            appendText(&text, "inf");
        } else {
            emitFinite(&text, bits, decimals < 0 ? 0 : decimals);
        }
    }
    return endText(&text);
}
