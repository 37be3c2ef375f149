// One iteration of alternating fictitious play, where the method's moves
// and estimates are formed (a long run's stretches of repeated moves,
// game/long_run.h, give the same in fewer steps). The record's filler,
// the tables, the files and the exact report's bounds all play the game
// with it, from the start, as far as they need: the method is
// deterministic, so a row replayed is the row that was played.
#pragma once

#include <cstdint>

#include "game/game_record.h"

struct PlayState {
    int32_t k;                      // iterations played so far
    int32_t moveOne;                // player 1's strategy in iteration k, 0-based
    int32_t moveTwo;                // player 2's answer in iteration k, 0-based
    int32_t nextMoveOne;            // player 1's strategy for iteration k + 1
    int64_t sumsB[kMaxStrategies];  // player 2's accumulated payoffs after k iterations
    int64_t sumsA[kMaxStrategies];  // player 1's accumulated payoffs after k iterations
    int64_t smallestB;              // sumsB[moveTwo]: k times the lower estimate
    int64_t largestA;               // sumsA[nextMoveOne]: k times the upper estimate
    float vStar;                    // the estimate of iteration k, their midpoint
};

// The state before iteration 1: nothing played, player 1 to open with
// `startStrategy` (0-based).
inline void startPlay(PlayState* state, int32_t startStrategy) {
    *state = PlayState{};
    state->nextMoveOne = startStrategy;
}

// The estimate of iteration k from k times the lower and k times the
// upper estimate. The estimates are single precision: each is rounded to
// a 32-bit float as soon as it is formed, and the digits shown depend on
// it.
inline float estimateOf(int64_t smallestB, int64_t largestA, int32_t k) {
    const auto lowerValue = static_cast<float>(static_cast<double>(smallestB) / k);
    const auto upperValue = static_cast<float>(static_cast<double>(largestA) / k);
    return static_cast<float>((static_cast<double>(upperValue) + static_cast<double>(lowerValue)) *
                              0.5);
}

// Plays iteration k + 1 on the normalised matrix in `game`. Player 1 moves
// first; player 2 answers a history that already holds that move with the
// lowest column of the smallest sum; his answer enters the history before
// player 1 picks the lowest row of the largest sum for the next iteration.
// Defined here so that a long run's loop has it inlined.
inline void playIteration(PlayState* state) {
    const int32_t m = game.rowCount;
    const int32_t n = game.columnCount;
    const int32_t a = state->nextMoveOne;
    const int32_t k = ++state->k;

    // Each scan keeps its best sum so far at hand rather than reading it
    // back through its index, a read that would wait for the comparison
    // before it: the scans run about half as fast that way.
    int32_t b = 0;
    int64_t smallest = state->sumsB[0] += game.gm[a][0];
    for (int32_t j = 1; j < n; ++j) {
        const int64_t sum = state->sumsB[j] += game.gm[a][j];
        if (sum < smallest) {
            smallest = sum;
            b = j;
        }
    }
    int32_t next = 0;
    int64_t largest = state->sumsA[0] += game.gm[0][b];
    for (int32_t i = 1; i < m; ++i) {
        const int64_t sum = state->sumsA[i] += game.gm[i][b];
        if (sum > largest) {
            largest = sum;
            next = i;
        }
    }
    state->moveOne = a;
    state->moveTwo = b;
    state->nextMoveOne = next;
    state->smallestB = smallest;
    state->largestA = largest;

    state->vStar = estimateOf(state->smallestB, state->largestA, k);
}

// Plays on until `k` iterations have been played (nothing when they have).
inline void playUpTo(PlayState* state, int32_t k) {
    while (state->k < k) playIteration(state);
}

// The lower and upper estimates of iteration k in double precision: the
// sums and k are exact, so their two (or six) decimals are right for any
// game, where the floats of the estimates keep about seven digits.
inline double lowerEstimate(const PlayState& state) {
    return state.k == 0 ? 0.0 : static_cast<double>(state.smallestB) / state.k;
}
inline double upperEstimate(const PlayState& state) {
    return state.k == 0 ? 0.0 : static_cast<double>(state.largestA) / state.k;
}

// Row k of the table of iterations, the rows taken one after the other
// from row 1 with a state `played` started by startPlay and moved by this
// function alone. Row k is iteration k while k is within the
// game.iterationCount iterations of the run; a row beyond them (more rows
// asked for than iterations played) is empty, as the record's rows are.
inline PlayState tableRow(PlayState* played, int32_t k) {
    if (k > game.iterationCount) {
        PlayState empty{};
        empty.k = k;
        return empty;
    }
    playUpTo(played, k);
    return *played;
}
