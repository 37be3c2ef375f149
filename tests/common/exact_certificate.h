// The certificate of an exact solution, checked in arithmetic of its own
// (Boost's arbitrary rationals, not the program's fixed-width numbers):
// player 1's strategy wins at least the value against every column,
// player 2's loses at most the value against every row, both are
// probability vectors, every fraction is in lowest terms, and the saddle
// point is reported exactly when there is one. Shared by the unit tests
// and the fuzz target.
#pragma once

#include <string>

// Boost as the program reads it (see exact_integer.h).
#include "game/exact_integer.h"
#include "game/exact_solution.h"
#include "game/game_record.h"

namespace certificate {

using Rational = boost::multiprecision::cpp_rational;
using Integer = boost::multiprecision::cpp_int;

inline Integer integerOf(const ExactInteger& x) {
    // Through the limbs' text would allocate in the program; here it may.
    return Integer(x.str());
}

inline bool lowestTerms(const Fraction& f) {
    return f.denominator > 0 && gcd(integerOf(abs(f.numerator)), integerOf(f.denominator)) == 1;
}

inline Rational rationalOf(const Fraction& f) {
    return Rational(integerOf(f.numerator), integerOf(f.denominator));
}

// An entry of the game as entered.
inline Rational entry(int i, int j) { return Rational(game.gm[i][j]) - game.negativeShift; }

inline std::string probabilityFault(const Fraction* p, int count, const char* who) {
    Rational sum = 0;
    for (int s = 0; s < count; ++s) {
        if (!lowestTerms(p[s])) return std::string(who) + ": a probability not in lowest terms";
        if (p[s].numerator < 0) return std::string(who) + ": a negative probability";
        sum += rationalOf(p[s]);
    }
    return sum == 1 ? "" : std::string(who) + ": the probabilities do not add up to 1";
}

inline bool isSaddlePoint(int row, int column) {
    for (int j = 0; j < game.columnCount; ++j) {
        if (game.gm[row][j] < game.gm[row][column]) return false;
    }
    for (int i = 0; i < game.rowCount; ++i) {
        if (game.gm[i][column] > game.gm[row][column]) return false;
    }
    return true;
}

inline std::string saddlePointFault(const ExactSolution& s) {
    int firstRow = -1;
    int firstColumn = -1;
    for (int i = 0; i < game.rowCount && firstRow < 0; ++i) {
        for (int j = 0; j < game.columnCount && firstRow < 0; ++j) {
            if (isSaddlePoint(i, j)) firstRow = i, firstColumn = j;
        }
    }
    if (s.hasSaddlePoint != (firstRow >= 0)) return "a saddle point missed or made up";
    if (firstRow >= 0 && (s.saddleRow != firstRow || s.saddleColumn != firstColumn)) {
        return "not the first saddle point";
    }
    return "";
}

// "" when the solution is proven right; otherwise what is wrong.
inline std::string fault(const ExactSolution& s) {
    const int m = game.rowCount;
    const int n = game.columnCount;
    if (!lowestTerms(s.value)) return "the value is not in lowest terms";
    std::string what = probabilityFault(s.playerOne, m, "player 1");
    if (what.empty()) what = probabilityFault(s.playerTwo, n, "player 2");
    if (!what.empty()) return what;
    const Rational value = rationalOf(s.value);
    for (int j = 0; j < n; ++j) {
        Rational won = 0;
        for (int i = 0; i < m; ++i) won += rationalOf(s.playerOne[i]) * entry(i, j);
        if (won < value) return "player 1's strategy wins less than the value against a column";
    }
    for (int i = 0; i < m; ++i) {
        Rational lost = 0;
        for (int j = 0; j < n; ++j) lost += entry(i, j) * rationalOf(s.playerTwo[j]);
        if (lost > value) return "player 2's strategy loses more than the value against a row";
    }
    return saddlePointFault(s);
}

// The frequencies of `iterations` iterations bound the value: the least
// of player 2's sums over N from below, the most of player 1's from above.
inline std::string boundsFault(const ExactSolution& s, int iterations) {
    const Rational value = rationalOf(s.value) + game.negativeShift;
    if (Rational(game.lastSmallestB, iterations) > value) {
        return "the value lies below the lower bound";
    }
    if (Rational(game.lastLargestA, iterations) < value) {
        return "the value lies above the upper bound";
    }
    return "";
}

}  // namespace certificate
