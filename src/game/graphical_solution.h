// The solution of a game in which one player has two strategies, as it is
// drawn: that player mixes his two strategies as (p, 1 - p), each strategy
// of the other player is a line over p from 0 to 1, and the best p is
// where the envelope of the lines that the other player picks from is at
// its best. Everything exact, for the numbers printed beside a picture.
//
// With two rows, player 1 mixes: line j is column j's payoff
// p * a[0][j] + (1 - p) * a[1][j], and p is the highest point of the
// lower envelope (the least of the lines). With two columns, player 2
// mixes: p is column 0's probability (the q of the hand solution), line i
// is row i's payoff p * a[i][0] + (1 - p) * a[i][1], and p is the lowest
// point of the upper envelope. A game of two rows and two columns is
// solved over its rows.
//
// Where the best p is not unique (the envelope's best is a flat stretch),
// p is the smallest one. The other player's answer is a single strategy
// when one guarantees him the value: a line level at the value through
// the optimum (the lowest such), else at p = 0 the line through the
// optimum that falls most steeply towards p = 1, and at p = 1 the one
// that climbs most steeply from p = 0. Otherwise the optimum lies
// strictly inside, where the two lines through it that rise and fall most
// steeply from it (the lowest of each among equals) cross, and he mixes
// those two so that his payoff does not depend on p.
#pragma once

#include <cstdint>

#include "game/fraction.h"
#include "game/game_record.h"

struct GraphicalSolution {
    bool overRows;                   // player 1 mixes two rows; else player 2 two columns
    int32_t lineCount;               // one line for each strategy of the other player
    int32_t atZero[kMaxStrategies];  // line s at p = 0: its payoff against the second strategy
    int32_t atOne[kMaxStrategies];   // line s at p = 1: its payoff against the first strategy
    Fraction p;                      // the first strategy's probability; the second's is 1 - p
    Fraction value;                  // the value of the game
    int32_t activeCount;             // 1 or 2: the other player's strategies in his answer
    int32_t active[2];               // those strategies, 0-based, rising
    Fraction activeWeight[2];        // his probabilities for them, adding up to 1
};

// Solves the `rows` by `columns` game when either count is 2 (the game as
// entered, or a reduced one: strategies are numbered within `entries`).
// Returns false, leaving `solution` alone, when neither is.
bool solveGraphically(const int32_t entries[kMaxStrategies][kMaxStrategies], int32_t rows,
                      int32_t columns, GraphicalSolution* solution);
