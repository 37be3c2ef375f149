#include "game/graphical_solution.h"

namespace {

// The lines as the mixing player sees them, larger being better for him:
// player 2's payments are negated, so that both cases look for the
// highest point of the lower envelope.
struct Lines {
    int64_t atZero[kMaxStrategies];  // the mixing player's gain at p = 0
    int64_t atOne[kMaxStrategies];   // his gain at p = 1
    int32_t count;                   // lines in use
};

// A point p = n / d of [0, 1], kept as two whole numbers: every candidate
// is a crossing of two lines, whose n and d are below 4 * 10^7.
struct Point {
    int64_t n;  // 0..d
    int64_t d;  // above 0
};

int64_t slopeOf(const Lines& lines, int32_t s) { return lines.atOne[s] - lines.atZero[s]; }

// d times line s at the point: a whole number for any point.
int64_t scaledHeight(const Lines& lines, int32_t s, const Point& p) {
    return p.n * lines.atOne[s] + (p.d - p.n) * lines.atZero[s];
}

// d times the lower envelope at the point.
int64_t scaledEnvelope(const Lines& lines, const Point& p) {
    int64_t least = scaledHeight(lines, 0, p);
    for (int32_t s = 1; s < lines.count; ++s) {
        const int64_t height = scaledHeight(lines, s, p);
        if (height < least) least = height;
    }
    return least;
}

// Whether the envelope is higher at `a` than at `b`, or as high and `a`
// lies to the left. The heights' cross products pass 64 bits.
bool better(const Lines& lines, const Point& a, const Point& b) {
    const ExactInteger heightA = ExactInteger(scaledEnvelope(lines, a)) * b.d;
    const ExactInteger heightB = ExactInteger(scaledEnvelope(lines, b)) * a.d;
    if (heightA != heightB) return heightA > heightB;
    return a.n * b.d < b.n * a.d;
}

// The highest point of the lower envelope, the leftmost of several: the
// envelope is concave and piecewise linear, so it is at an end of [0, 1]
// or where two lines cross.
Point highestPoint(const Lines& lines) {
    Point best = {0, 1};
    const Point right = {1, 1};
    if (better(lines, right, best)) best = right;
    for (int32_t s = 0; s < lines.count; ++s) {
        for (int32_t t = s + 1; t < lines.count; ++t) {
            Point crossing = {lines.atZero[t] - lines.atZero[s],
                              slopeOf(lines, s) - slopeOf(lines, t)};
            if (crossing.d == 0) continue;  // parallel: they never cross
            if (crossing.d < 0) crossing = {-crossing.n, -crossing.d};
            if (crossing.n < 0 || crossing.n > crossing.d) continue;
            if (better(lines, crossing, best)) best = crossing;
        }
    }
    return best;
}

// The line through the optimum whose slope is best by `prefer` (the
// lowest strategy among equals), or -1 when none passes `accept`.
int32_t pickActive(const Lines& lines, const Point& p, int64_t height, bool (*accept)(int64_t),
                   bool (*prefer)(int64_t, int64_t)) {
    int32_t chosen = -1;
    for (int32_t s = 0; s < lines.count; ++s) {
        if (scaledHeight(lines, s, p) != height || !accept(slopeOf(lines, s))) continue;
        if (chosen < 0 || prefer(slopeOf(lines, s), slopeOf(lines, chosen))) chosen = s;
    }
    return chosen;
}

bool anySlope(int64_t) { return true; }
bool level(int64_t slope) { return slope == 0; }
bool steeper(int64_t slope, int64_t than) { return slope > than; }
bool shallower(int64_t slope, int64_t than) { return slope < than; }

// The other player's answer at the optimum `p` of envelope height
// `height` (times p.d), by the rule in the header.
void answerAt(const Lines& lines, const Point& p, int64_t height, GraphicalSolution* solution) {
    int32_t single = pickActive(lines, p, height, level, shallower);
    if (single < 0 && p.n == 0) single = pickActive(lines, p, height, anySlope, shallower);
    if (single < 0 && p.n == p.d) single = pickActive(lines, p, height, anySlope, steeper);
    if (single >= 0) {
        solution->activeCount = 1;
        solution->active[0] = single;
        solution->activeWeight[0] = reducedFraction(1, 1);
        return;
    }
    // Inside, the envelope climbs to the optimum and falls after it: a
    // line through it rises and another falls, and the mixture of the two
    // steepest that is level is their crossing's height all along.
    const int32_t rising = pickActive(lines, p, height, anySlope, steeper);
    const int32_t falling = pickActive(lines, p, height, anySlope, shallower);
    const int64_t up = slopeOf(lines, rising);
    const int64_t down = slopeOf(lines, falling);
    const bool risingFirst = rising < falling;
    solution->activeCount = 2;
    solution->active[0] = risingFirst ? rising : falling;
    solution->active[1] = risingFirst ? falling : rising;
    solution->activeWeight[risingFirst ? 0 : 1] = reducedFraction(-down, up - down);
    solution->activeWeight[risingFirst ? 1 : 0] = reducedFraction(up, up - down);
}

}  // namespace

bool solveGraphically(const int32_t entries[kMaxStrategies][kMaxStrategies], int32_t rows,
                      int32_t columns, GraphicalSolution* solution) {
    if (rows != 2 && columns != 2) return false;
    solution->activeCount = 0;
    solution->overRows = rows == 2;
    const int64_t sign = solution->overRows ? 1 : -1;
    Lines lines = {};
    lines.count = solution->overRows ? columns : rows;
    for (int32_t s = 0; s < lines.count; ++s) {
        solution->atOne[s] = solution->overRows ? entries[0][s] : entries[s][0];
        solution->atZero[s] = solution->overRows ? entries[1][s] : entries[s][1];
        lines.atOne[s] = sign * solution->atOne[s];
        lines.atZero[s] = sign * solution->atZero[s];
    }
    solution->lineCount = lines.count;

    const Point best = highestPoint(lines);
    const int64_t height = scaledEnvelope(lines, best);
    solution->p = reducedFraction(best.n, best.d);
    solution->value = reducedFraction(sign * height, best.d);
    answerAt(lines, best, height, solution);
    return true;
}
