// Alternating fictitious play over the matrix in `game`.
#pragma once

#include <cstdint>

// Plays game.iterationCount iterations (up to kMaxLongRun) starting with
// player 1's strategy `startStrategy` (0-based) and writes into `game` the
// first kMaxIterations rows of the history, the tallies, the sum of all
// the estimates and the bounds after the last iteration. Expects a
// normalised matrix (no negative entry), sizes within capacity and a still
// empty history; does nothing when the number of iterations is below 1.
void runIterations(int32_t startStrategy);
