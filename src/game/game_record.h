// The one record of a run: the game as entered and everything the
// iterations produce. There is a single statically allocated instance,
// `game`, shared by the dialogue, the solver and the report.
#pragma once

#include <cstdint>

constexpr int kMaxStrategies = 10;         // per player: the matrix is 10 by 10
constexpr int kMaxIterations = 99;         // history rows 0..99, row 0 the empty start
constexpr int32_t kMaxLongRun = 10000000;  // iterations a run may play (-n); 99 when asked
constexpr int kNameCharacters = 11;        // a name's longest, a UTF-8 sequence one character
constexpr int kNameCapacity = kNameCharacters * 4 + 1;  // 11 of up to 4 bytes, and the zero

struct GameRecord {
    char playerOneName[kNameCapacity];  // rows, the maximiser
    char playerTwoName[kNameCapacity];  // columns, the minimiser
    int32_t rowCount;                   // m
    int32_t columnCount;                // n
    int32_t gm[kMaxStrategies][kMaxStrategies];

    int32_t negativeShift;   // added to every used cell when an entry was negative
    int32_t startStrategy;   // player 1's move in iteration 1, 0-based
    bool startChosen;        // the start strategy was typed, not taken automatically
    int32_t iterationCount;  // N
    int32_t tableRows;       // how many rows of the table of iterations to show

    // The first iterations, up to kMaxIterations of them; rows beyond
    // are played again when they are needed (see game/iteration.h).
    int32_t choiceOne[kMaxIterations + 1];              // index k = 1..N
    int32_t choiceTwo[kMaxIterations + 1];              // index k = 1..N
    int32_t sumsB[kMaxIterations + 1][kMaxStrategies];  // player 2's accumulated payoffs
    int32_t sumsA[kMaxIterations + 1][kMaxStrategies];  // player 1's accumulated payoffs
    float vStar[kMaxIterations + 1];                    // estimate after iteration k at index k-1
    int32_t tallyOne[kMaxStrategies];  // how often player 1 played each row, over all N
    int32_t tallyTwo[kMaxStrategies];  // how often player 2 played each column
    double estimateSum;                // the N estimates added up in order, in double precision
    int64_t lastSmallestB;             // after iteration N: N times the lower estimate
    int64_t lastLargestA;              // after iteration N: N times the upper estimate
    bool exactSolved;                  // the exact solution of this game has been worked out
    bool stepsSolved;                  // the game's solution step by step has been worked out
};

// Zero at start (static storage): every number 0, both names empty.
extern GameRecord game;
