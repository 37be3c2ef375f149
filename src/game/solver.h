// Alternating fictitious play over the matrix in `game`.
#pragma once

#include <cstdint>

// Plays game.iterationCount iterations starting with player 1's strategy
// `startStrategy` (0-based) and writes the history, the tallies and the
// estimates into `game`. Expects a normalised matrix (no negative entry),
// sizes within capacity and a still empty history; does nothing when the
// number of iterations is below 1.
void runIterations(int32_t startStrategy);
