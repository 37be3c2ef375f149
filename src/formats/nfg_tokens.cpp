// The scanner keeps no state but where it stands: a token is a slice of
// the file's bytes, and nothing is copied until a caller asks for it.
#include "formats/nfg_tokens.h"
#include "text/translation.h"

#include <cstring>

#include "text/characters.h"
#include "text/text_format.h"

namespace {

// Bounds of the numbers read exactly: a payoff of player 2 in a cell is
// added to player 1's whole payoff (at most 10^7) without leaving 64 bits.
constexpr int64_t kLargestNumerator = 1000000000000000;  // 10^15
constexpr int64_t kLargestDenominator = 1000000000;      // 10^9
constexpr int64_t kLargestDigits = 100000000000000000;   // 10^17, digits read before reducing

const char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr int kByteOrderMarkLength = 3;

// numerator / denominator, reduced and with a positive denominator; false
// when either is beyond what the program reads exactly.
bool makeRational(bool negative, int64_t numerator, int64_t denominator, Rational* out) {
    const int64_t divisor =
        numerator == 0 ? denominator : greatestCommonDivisor(numerator, denominator);
    numerator /= divisor;
    denominator /= divisor;
    if (numerator > kLargestNumerator || denominator > kLargestDenominator) return false;
    *out = Rational{negative ? -numerator : numerator, denominator};
    return true;
}

// Decimal digits from text[*at] on, as a whole number (0 for none), all
// of them taken; false when there are more of them than kLargestDigits
// holds.
bool readDigits(const char* text, int length, int* at, int64_t* value, int* count) {
    *value = 0;
    *count = 0;
    bool fits = true;
    for (; *at < length && isDigit(text[*at]); ++*at, ++*count) {
        if (*value > kLargestDigits) fits = false;
        if (fits) *value = *value * 10 + (text[*at] - '0');
    }
    return fits;
}

// A decimal with its point and exponent both optional ("3", "-1.000000",
// "2.5e-1"): its digits are gathered as a whole number times a power of
// ten, zeros held back until a digit other than zero follows, so that
// "1.000000000000000000000" reads as exactly 1.
NumberStatus readDecimal(const char* text, int length, int at, bool negative, Rational* out) {
    int64_t digits = 0;
    int exponent = 0;  // the value is digits * 10^exponent
    int heldZeros = 0;
    int digitCount = 0;
    bool afterPoint = false;
    for (; at < length; ++at) {
        const char c = text[at];
        if (c == '.' && !afterPoint) {
            afterPoint = true;
            continue;
        }
        if (!isDigit(c)) break;
        ++digitCount;
        if (afterPoint) --exponent;
        if (c == '0') {
            ++heldZeros;
            continue;
        }
        for (; heldZeros > 0; --heldZeros) {
            if (digits > kLargestDigits / 10) return kNumberTooLarge;
            digits *= 10;
        }
        if (digits > kLargestDigits / 10) return kNumberTooLarge;
        digits = digits * 10 + (c - '0');
    }
    if (digitCount == 0) return kNotANumber;
    exponent += heldZeros;
    if (at < length && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        const bool below = at < length && text[at] == '-';
        if (at < length && (text[at] == '-' || text[at] == '+')) ++at;
        int64_t power = 0;
        int count = 0;
        if (!readDigits(text, length, &at, &power, &count) || power > 1000) return kNumberTooLarge;
        if (count == 0) return kNotANumber;
        exponent += static_cast<int>(below ? -power : power);
    }
    if (at != length) return kNotANumber;
    if (digits == 0) return makeRational(false, 0, 1, out) ? kNumberRead : kNumberTooLarge;
    for (; exponent > 0; --exponent) {
        if (digits > kLargestNumerator / 10) return kNumberTooLarge;
        digits *= 10;
    }
    // digits / 10^-exponent: the twos and fives of the power that digits
    // cancels are left out before the power is formed.
    int twos = -exponent;
    int fives = -exponent;
    for (; twos > 0 && digits % 2 == 0; --twos) digits /= 2;
    for (; fives > 0 && digits % 5 == 0; --fives) digits /= 5;
    int64_t denominator = 1;
    for (; twos > 0; --twos) {
        if (denominator > kLargestDenominator) return kNumberTooLarge;
        denominator *= 2;
    }
    for (; fives > 0; --fives) {
        if (denominator > kLargestDenominator) return kNumberTooLarge;
        denominator *= 5;
    }
    return makeRational(negative, digits, denominator, out) ? kNumberRead : kNumberTooLarge;
}

// Whether the word, cut at the end of the bytes read so far, may still
// grow into `word`.
bool beginsWord(const Token* t, const char* word) {
    const int length = static_cast<int>(std::strlen(word));
    return t->length <= length && std::memcmp(t->text, word, t->length) == 0;
}

}  // namespace

Scanner startScanner(const char* bytes, int length) {
    const bool marked = length >= kByteOrderMarkLength &&
                        std::memcmp(bytes, kByteOrderMark, kByteOrderMarkLength) == 0;
    return Scanner{bytes, length, marked ? kByteOrderMarkLength : 0, 1};
}

bool endsWord(char c) { return isWhiteSpace(c) || c == '{' || c == '}' || c == '"' || c == ','; }

Token scanToken(Scanner* s) {
    while (s->next < s->length && isWhiteSpace(s->bytes[s->next])) {
        if (s->bytes[s->next] == '\n') ++s->line;
        ++s->next;
    }
    Token t = {kTokenEnd, s->bytes + s->next, 0, s->line};
    if (s->next == s->length) return t;
    const char c = s->bytes[s->next];
    if (c == '{' || c == '}' || c == ',') {
        t.kind = c == '{' ? kTokenOpen : c == '}' ? kTokenClose : kTokenComma;
        t.length = 1;
        ++s->next;
        return t;
    }
    if (c == '"') {
        t.kind = kTokenString;
        t.text = s->bytes + ++s->next;
        while (s->next < s->length && s->bytes[s->next] != '"') {
            if (s->bytes[s->next] == '\\' && s->next + 1 < s->length) ++s->next;
            if (s->bytes[s->next] == '\n') ++s->line;
            ++s->next;
        }
        t.length = static_cast<int>(s->bytes + s->next - t.text);
        if (s->next == s->length) t.kind = kTokenOpenString;
        if (s->next < s->length) ++s->next;  // the closing quote
        return t;
    }
    while (s->next < s->length && !endsWord(s->bytes[s->next])) ++s->next;
    t.length = static_cast<int>(s->bytes + s->next - t.text);
    const bool signed_ = (c == '-' || c == '+') && t.length > 1;
    const char first = signed_ ? t.text[1] : c;
    t.kind = isDigit(first) || first == '.' ? kTokenNumber : kTokenWord;
    return t;
}

bool isWord(const Token* t, const char* word) {
    const int length = static_cast<int>(std::strlen(word));
    return t->length == length && std::memcmp(t->text, word, length) == 0;
}

const char* describeToken(const Token* t, char* out, int capacity) {
    switch (t->kind) {
        case kTokenEnd:
            return tr("the end of the file");
        case kTokenString:
        case kTokenOpenString:
            return tr("a string in quotes");
        default:
            break;
    }
    const int length = t->length < capacity - 6 ? t->length : capacity - 6;
    int at = 0;
    out[at++] = '\'';
    for (int i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(t->text[i]);
        out[at++] = c < 0x20 || c >= 0x7F ? '?' : static_cast<char>(c);
    }
    if (length < t->length) {
        for (const char* dots = "..."; *dots != '\0'; ++dots) out[at++] = *dots;
    }
    out[at++] = '\'';
    out[at] = '\0';
    return out;
}

int64_t greatestCommonDivisor(int64_t a, int64_t b) {
    while (b != 0) {
        const int64_t rest = a % b;
        a = b;
        b = rest;
    }
    return a;
}

NumberStatus readNumber(const Token* t, Rational* out) {
    const char* text = t->text;
    const int length = t->length;
    int at = 0;
    const bool negative = length > 0 && text[0] == '-';
    if (length > 0 && (text[0] == '-' || text[0] == '+')) ++at;
    const char* slash = static_cast<const char*>(std::memchr(text, '/', length));
    if (slash == nullptr) return readDecimal(text, length, at, negative, out);
    const int slashAt = static_cast<int>(slash - text);
    int64_t numerator = 0;
    int64_t denominator = 0;
    int count = 0;
    int denominatorCount = 0;
    const bool fits = readDigits(text, slashAt, &at, &numerator, &count);
    if (at != slashAt || count == 0) return kNotANumber;
    at = slashAt + 1;
    const bool denominatorFits = readDigits(text, length, &at, &denominator, &denominatorCount);
    if (at != length || denominatorCount == 0 || denominator == 0) return kNotANumber;
    if (!fits || !denominatorFits) return kNumberTooLarge;
    return makeRational(negative, numerator, denominator, out) ? kNumberRead : kNumberTooLarge;
}

void formatRational(Rational value, char* out) {
    formatInteger(value.numerator, out);
    if (value.denominator == 1) return;
    const int length = static_cast<int>(std::strlen(out));
    out[length] = '/';
    formatInteger(value.denominator, out + length + 1);
}

// A mark cut short may still be one; after it, each of the three words is
// matched as far as it has come.
NfgStart nfgStartOf(const char* bytes, int length, bool ended) {
    if (!ended && length < kByteOrderMarkLength &&
        std::memcmp(bytes, kByteOrderMark, length) == 0) {
        return kNfgUndecided;
    }
    const char* const kWords[] = {"NFG", "1", "R"};
    Scanner s = startScanner(bytes, length);
    for (int w = 0; w < 3; ++w) {
        const Token t = scanToken(&s);
        if (t.kind == kTokenEnd) return ended ? kNotNfgFile : kNfgUndecided;
        const bool word = t.kind == kTokenWord || t.kind == kTokenNumber;
        if (word && s.next == length && !ended) {
            const bool may = beginsWord(&t, kWords[w]) || (w == 2 && beginsWord(&t, "D"));
            return may ? kNfgUndecided : kNotNfgFile;
        }
        if (!word || !(isWord(&t, kWords[w]) || (w == 2 && isWord(&t, "D")))) return kNotNfgFile;
    }
    return kNfgFile;
}
