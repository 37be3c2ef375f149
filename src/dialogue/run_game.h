// The dialogue that enters a game and plays it.
#pragma once

#include <cstdint>

#include "game/accuracy.h"

// Asks for the names, the numbers of strategies, the matrix, player 1's
// first strategy and the number of iterations, fills `game` with them,
// shifts a matrix with negative entries to non-negative values and plays
// the iterations. With `iterations` above 0 (from the command line) that
// number is played and not asked for. With an `accuracy` (not null) the
// run stops at the first iteration whose estimates lie within it, after
// at most `iterations` (or kMaxLongRun) iterations, and returns whether
// one did; without, it returns true.
bool runGame(int32_t iterations, const Accuracy* accuracy);
