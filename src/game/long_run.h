// Long runs: the iterations played for their tallies and estimates alone,
// without rows to keep. Once the method has settled, both players keep
// their strategies for many iterations in a row; such a stretch is
// foreseen from the sums and played in one step, each of its iterations
// still giving its own estimate. The result is what playIteration, one
// iteration at a time, gives.
#pragma once

#include <cstdint>

#include "game/iteration.h"

// How many of the next iterations, at most `limit`, repeat the last one:
// player 1 again on `state.nextMoveOne`, player 2 again answering with
// `state.moveTwo`, which stays the lowest column of the smallest sum
// while that row stays the lowest of the largest. Needs an iteration
// played.
int32_t repeatsAhead(const PlayState& state, int32_t limit);

// Plays on from `state` until `k` iterations have been played, adding
// each iteration's moves to `tallyOne` and `tallyTwo` and its estimate to
// `*estimateSum`, in order.
void playLongRun(PlayState* state, int32_t k, int32_t* tallyOne, int32_t* tallyTwo,
                 double* estimateSum);
