// Iterated removal of dominated pure strategies: the game made smaller
// before it is solved, its value unchanged. Player 1 drops a row that
// never wins more than another row; player 2, who pays, drops a column
// that never costs him less than another column. A strategy equal to an
// earlier one over what is left counts as dominated by it, so that only
// the first of several copies stays.
#pragma once

#include <cstdint>

#include "game/game_record.h"

// Each player keeps at least one strategy: the strategy that dominates
// another is still there when it is removed.
constexpr int32_t kMaxRemovals = 2 * (kMaxStrategies - 1);

struct Removal {
    int32_t player;     // 1: a row of player 1; 2: a column of player 2
    int32_t strategy;   // the strategy removed, 0-based in the game as entered
    int32_t dominator;  // the lowest strategy left that dominates it, 0-based likewise
    int32_t round;      // from 1: rows first, then columns, in each round
    bool duplicate;     // equal to the dominator over what was left, not worse anywhere
};

struct Reduction {
    Removal removals[kMaxRemovals];  // in the order they were made
    int32_t removalCount;
    int32_t rows[kMaxStrategies];     // the rows left, 0-based in the game as entered, rising
    int32_t rowCount;                 // at least 1
    int32_t columns[kMaxStrategies];  // the columns left, likewise
    int32_t columnCount;              // at least 1
};

// Removes dominated strategies from the `rows` by `columns` game until
// none is left. A round judges the rows from the first to the last, each
// against the rows still there and over the columns still there (a row
// removed earlier in the round no longer dominates), then the columns
// likewise over the rows left; rounds repeat until one removes nothing.
void reduceByDominance(const int32_t entries[kMaxStrategies][kMaxStrategies], int32_t rows,
                       int32_t columns, Reduction* reduction);

// The reduced game's matrix: row r and column c are the reduction's
// rows[r] and columns[c].
void reducedEntries(const int32_t entries[kMaxStrategies][kMaxStrategies],
                    const Reduction& reduction, int32_t reduced[kMaxStrategies][kMaxStrategies]);
