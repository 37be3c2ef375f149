#include "game/solver.h"

#include "game/game_record.h"

namespace {

// Player 2's answer: the lowest column with the smallest accumulated sum.
int32_t lowestMinimumColumn(const int32_t* sums, int32_t count) {
    int32_t best = 0;
    for (int32_t j = 1; j < count; ++j) {
        if (sums[j] < sums[best]) best = j;
    }
    return best;
}

// Player 1's answer: the lowest row with the largest accumulated sum.
int32_t lowestMaximumRow(const int32_t* sums, int32_t count) {
    int32_t best = 0;
    for (int32_t i = 1; i < count; ++i) {
        if (sums[i] > sums[best]) best = i;
    }
    return best;
}

}  // namespace

void runIterations(int32_t startStrategy) {
    const int32_t m = game.rowCount;
    const int32_t n = game.columnCount;
    int32_t a = startStrategy;

    for (int32_t k = 1; k <= game.iterationCount; ++k) {
        // Player 1 moves first; player 2 answers a history that already
        // holds this move.
        game.choiceOne[k] = a;
        for (int32_t j = 0; j < n; ++j) {
            game.sumsB[k][j] = game.sumsB[k - 1][j] + game.gm[a][j];
        }
        game.tallyOne[a] += 1;
        const int32_t b = lowestMinimumColumn(game.sumsB[k], n);
        const int32_t minB = game.sumsB[k][b];

        // Player 2's answer enters the history before player 1 picks his
        // move for the next iteration.
        game.choiceTwo[k] = b;
        for (int32_t i = 0; i < m; ++i) {
            game.sumsA[k][i] = game.sumsA[k - 1][i] + game.gm[i][b];
        }
        game.tallyTwo[b] += 1;
        a = lowestMaximumRow(game.sumsA[k], m);
        const int32_t maxA = game.sumsA[k][a];

        // The estimates are single precision: each is rounded to a 32-bit
        // float as soon as it is formed, and the digits shown depend on it.
        const float lowerValue = static_cast<float>(static_cast<double>(minB) / k);
        const float upperValue = static_cast<float>(static_cast<double>(maxA) / k);
        game.vStar[k - 1] = static_cast<float>(
            (static_cast<double>(upperValue) + static_cast<double>(lowerValue)) * 0.5);
    }
}
