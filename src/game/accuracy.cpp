#include "game/accuracy.h"

#include "game/iteration.h"
#include "game/long_run.h"

namespace {

// The gap times a power of ten reaches 2 * 10^23 and EPS's numerator
// times k 10^25: past 64 bits, within 128.
__extension__ typedef __int128 Wide;

// A bound on the exponent's magnitude that leaves the digits of any text
// room to count in 64 bits, while deciding the same as the exponent typed.
constexpr int64_t kExponentCap = 1000000000000000;

// The significant digits of the number read so far: D of D * 10^e.
struct Digits {
    int64_t value;         // D, while it has at most 18 digits
    int64_t count;         // the digits of D, from the first nonzero one to the last
    int64_t zerosPending;  // zeros after the last nonzero digit: D's only if one follows
};

void addDigit(Digits* digits, int32_t digit) {
    if (digit == 0) {
        if (digits->count > 0) ++digits->zerosPending;
        return;
    }
    for (; digits->zerosPending > 0; --digits->zerosPending) {
        if (++digits->count <= 18) digits->value *= 10;
    }
    if (++digits->count <= 18) digits->value = digits->value * 10 + digit;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The exponent after 'e' or 'E': an optional sign and at least one digit.
bool readExponent(const char** text, int64_t* exponent) {
    const char* c = *text;
    const bool negative = *c == '-';
    if (*c == '-' || *c == '+') ++c;
    if (!isDigit(*c)) return false;
    int64_t magnitude = 0;
    for (; isDigit(*c); ++c) {
        if (magnitude < kExponentCap) magnitude = magnitude * 10 + (*c - '0');
    }
    *exponent = negative ? -magnitude : magnitude;
    *text = c;
    return true;
}

}  // namespace

bool parseAccuracy(const char* text, Accuracy* eps) {
    Digits digits = {};
    int64_t fractionDigits = 0;
    bool point = false;
    bool anyDigit = false;
    const char* c = text;
    for (; isDigit(*c) || (*c == '.' && !point); ++c) {
        if (*c == '.') {
            point = true;
            continue;
        }
        anyDigit = true;
        if (point) ++fractionDigits;
        addDigit(&digits, *c - '0');
    }
    int64_t exponent = 0;
    if (*c == 'e' || *c == 'E') {
        ++c;
        if (!readExponent(&c, &exponent)) return false;
    }
    if (!anyDigit || *c != '\0' || digits.count == 0) return false;

    // The number is D * 10^scale.
    const int64_t scale = exponent - fractionDigits + digits.zerosPending;
    if (scale < -9) return false;
    if (digits.count + scale > 9) {  // at least 10^9
        *eps = {kLargestAccuracy, 0};
        return true;
    }
    // Below 10^9 with at most 9 decimals: D has at most 18 digits.
    int64_t numerator = digits.value;
    for (int64_t power = 0; power < scale; ++power) numerator *= 10;
    *eps = {numerator, static_cast<int32_t>(scale < 0 ? -scale : 0)};
    return true;
}

namespace {

Wide powerOfTen(int32_t exponent) {
    Wide power = 1;
    for (int32_t e = 0; e < exponent; ++e) power *= 10;
    return power;
}

// The gap between the estimates times k, scaled to EPS's denominator.
Wide scaledGap(const Accuracy& eps, int64_t smallestB, int64_t largestA) {
    return Wide{largestA - smallestB} * powerOfTen(eps.decimals);
}

// The first k whose EPS * k covers a gap of `scaled` / 10^decimals.
Wide firstCovering(const Accuracy& eps, Wide scaled) {
    return (scaled + eps.numerator - 1) / eps.numerator;
}

// Plays the `count` iterations that repeat the last one: as
// playIteration would, without the estimates that are not looked at.
void skipRepeats(PlayState* state, int32_t count) {
    const int32_t a = state->nextMoveOne;
    const int32_t b = state->moveTwo;
    for (int32_t j = 0; j < game.columnCount; ++j)
        state->sumsB[j] += count * int64_t{game.gm[a][j]};
    for (int32_t i = 0; i < game.rowCount; ++i) state->sumsA[i] += count * int64_t{game.gm[i][b]};
    state->smallestB += count * int64_t{game.gm[a][b]};
    state->largestA += count * int64_t{game.gm[a][b]};
    state->k += count;
    state->moveOne = a;
}

}  // namespace

bool withinAccuracy(const Accuracy& eps, int64_t smallestB, int64_t largestA, int32_t k) {
    return scaledGap(eps, smallestB, largestA) <= Wide{eps.numerator} * k;
}

AccuracyStop firstIterationWithin(const Accuracy& eps, int32_t startStrategy, int32_t limit) {
    PlayState state;
    startPlay(&state, startStrategy);
    while (state.k < limit) {
        playIteration(&state);
        if (withinAccuracy(eps, state.smallestB, state.largestA, state.k)) return {state.k, true};
        const int32_t repeats = repeatsAhead(state, limit - state.k);
        if (repeats == 0) continue;
        // Both sums grow by the same payoff along the stretch.
        const Wide first = firstCovering(eps, scaledGap(eps, state.smallestB, state.largestA));
        if (first <= state.k + repeats) return {static_cast<int32_t>(first), true};
        skipRepeats(&state, repeats);
    }
    return {limit, false};
}
