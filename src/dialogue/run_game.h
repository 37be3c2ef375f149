// The dialogue that enters a game and plays it.
#pragma once

#include <cstdint>

// Asks for the names, the numbers of strategies, the matrix, player 1's
// first strategy and the number of iterations, fills `game` with them,
// shifts a matrix with negative entries to non-negative values and plays
// the iterations. With `iterations` above 0 (from the command line) that
// number is played and not asked for.
void runGame(int32_t iterations);
