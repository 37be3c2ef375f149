// The one record of a run: the game as entered and everything the
// iterations produce. There is a single statically allocated instance,
// `game`, shared by the dialogue, the solver and the report.
#pragma once

#include <cstdint>

constexpr int kMaxStrategies = 10;  // per player: the matrix is 10 by 10
constexpr int kMaxIterations = 99;  // history rows 0..99, row 0 the empty start
constexpr int kNameCapacity = 12;   // 11 characters and the terminating zero

struct GameRecord {
    char playerOneName[kNameCapacity];  // rows, the maximiser
    char playerTwoName[kNameCapacity];  // columns, the minimiser
    int32_t rowCount;                   // m
    int32_t columnCount;                // n
    int32_t gm[kMaxStrategies][kMaxStrategies];

    int32_t negativeShift;   // added to every used cell when an entry was negative
    int32_t startStrategy;   // player 1's move in iteration 1, 0-based
    int32_t iterationCount;  // N; later the number of table rows to show

    int32_t choiceOne[kMaxIterations + 1];              // index k = 1..N
    int32_t choiceTwo[kMaxIterations + 1];              // index k = 1..N
    int32_t sumsB[kMaxIterations + 1][kMaxStrategies];  // player 2's accumulated payoffs
    int32_t sumsA[kMaxIterations + 1][kMaxStrategies];  // player 1's accumulated payoffs
    float vStar[kMaxIterations + 1];                    // estimate after iteration k at index k-1
    int32_t tallyOne[kMaxStrategies];
    int32_t tallyTwo[kMaxStrategies];
};

// Zero at start (static storage): every number 0, both names empty.
extern GameRecord game;
