#include "text/fraction_text.h"

#include <cstdint>

#include "text/text_buffer.h"

namespace {

// Eighteen decimal digits at a time: 10^18 fits a 64-bit limb.
constexpr uint64_t kChunk = 1000000000000000000ULL;
constexpr int kChunkDigits = 18;
// 2^1024 has 309 digits: 18 chunks hold any magnitude.
constexpr int kMostChunks = 18;

// The digits of a chunk; all eighteen of them (leading zeros included)
// when `padded`.
void emitChunk(TextBuffer* out, uint64_t chunk, bool padded) {
    char digits[kChunkDigits];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + chunk % 10);
        chunk /= 10;
    } while (chunk != 0);
    if (padded) {
        while (count < kChunkDigits) digits[count++] = '0';
    }
    while (count > 0) appendChar(out, digits[--count]);
}

void emitMagnitude(TextBuffer* out, ExactInteger magnitude) {
    uint64_t chunks[kMostChunks];
    int count = 0;
    do {
        chunks[count++] = static_cast<uint64_t>(magnitude % kChunk);
        magnitude /= kChunk;
    } while (magnitude != 0 && count < kMostChunks);
    emitChunk(out, chunks[--count], false);
    while (count > 0) emitChunk(out, chunks[--count], true);
}

}  // namespace

int formatExactInteger(const ExactInteger& value, char* out, int capacity) {
    TextBuffer text = boundedText(out, capacity);
    if (capacity <= 0) return 0;
    if (value < 0) appendChar(&text, '-');
    emitMagnitude(&text, abs(value));
    return endText(&text);
}

int formatFraction(const Fraction& value, char* out, int capacity) {
    TextBuffer text = boundedText(out, capacity);
    if (capacity <= 0) return 0;
    if (value.numerator < 0) appendChar(&text, '-');
    emitMagnitude(&text, abs(value.numerator));
    if (value.denominator != 1) {
        appendChar(&text, '/');
        emitMagnitude(&text, value.denominator);
    }
    return endText(&text);
}

// The magnitude times 10^decimals, rounded to the nearest whole number,
// a half upward: floor((2 * |n| * 10^decimals + d) / (2 * d)).
int formatFractionDecimals(const Fraction& value, int decimals, char* out, int capacity) {
    TextBuffer text = boundedText(out, capacity);
    if (capacity <= 0) return 0;
    if (decimals < 0) decimals = 0;
    if (decimals > kChunkDigits) decimals = kChunkDigits;
    ExactInteger scale = 1;
    for (int n = 0; n < decimals; ++n) scale *= 10;
    const ExactInteger doubled = 2 * value.denominator;
    const ExactInteger rounded = (2 * abs(value.numerator) * scale + value.denominator) / doubled;
    if (value.numerator < 0) appendChar(&text, '-');
    emitMagnitude(&text, rounded / scale);
    if (decimals > 0) {
        appendChar(&text, '.');
        uint64_t fraction = static_cast<uint64_t>(rounded % scale);
        char digits[kChunkDigits];
        for (int n = decimals - 1; n >= 0; --n) {
            digits[n] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        for (int n = 0; n < decimals; ++n) appendChar(&text, digits[n]);
    }
    return endText(&text);
}
