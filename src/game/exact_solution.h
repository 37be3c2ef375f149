// The exact solution of the game in `game`: its value and an optimal
// mixed strategy for each player, in exact fractions.
#pragma once

#include <cstdint>

#include "game/fraction.h"
#include "game/game_record.h"

struct ExactSolution {
    Fraction value;                      // of the game as entered (the shift taken back)
    Fraction playerOne[kMaxStrategies];  // X: a probability for each row
    Fraction playerTwo[kMaxStrategies];  // Y: a probability for each column
    bool hasSaddlePoint;                 // a pure pair optimal for both
    int32_t saddleRow;                   // 0-based, when hasSaddlePoint
    int32_t saddleColumn;                // 0-based, when hasSaddlePoint
    int32_t largestBits;                 // bit length of the largest number the solve met
};

// Solves the normalised game in game.gm (game.rowCount by game.columnCount,
// no negative entry) and shifts the value back by game.negativeShift.
//
// When the game has a saddle point, the lowest row holding one and the
// lowest column for it are the answer: the value is their entry and each
// player plays that one strategy. Otherwise the simplex method finds the
// strategies, by a rule that gives the same answer every time for the
// same game. Entries of magnitude above 20,000,000 are beyond the width
// of the numbers (see exact_integer.h).
void solveExactly(ExactSolution* solution);

// What the frequencies of play guarantee after `iterations` iterations,
// in the game as entered: `sum` is game.lastSmallestB (player 1's
// frequencies win at least this) or game.lastLargestA (player 2's lose at
// most this), the bound times the iterations in the normalised game.
Fraction playedBound(int64_t sum, int32_t iterations);

// How far the mean price (a float, in the game as entered) lies from the
// value, exactly and never negative.
Fraction distanceFromValue(float meanPrice, const Fraction& value);

// The exact solution of the game in `game`, worked out by solveExactly the
// first time it is asked for (game.exactSolved tells) and kept for the
// report, the page and the picture, which all show it.
const ExactSolution& solutionOfGame();
