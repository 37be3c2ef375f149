#include "game/solver.h"

#include "game/game_record.h"
#include "game/iteration.h"
#include "game/long_run.h"

namespace {

void keepRow(const PlayState& state) {
    const int32_t k = state.k;
    game.choiceOne[k] = state.moveOne;
    game.choiceTwo[k] = state.moveTwo;
    // Sums of at most kMaxIterations entries of the normalised game fit
    // in 32 bits (see the bounds of an entry in the dialogue).
    for (int32_t j = 0; j < game.columnCount; ++j) {
        game.sumsB[k][j] = static_cast<int32_t>(state.sumsB[j]);
    }
    for (int32_t i = 0; i < game.rowCount; ++i) {
        game.sumsA[k][i] = static_cast<int32_t>(state.sumsA[i]);
    }
    game.vStar[k - 1] = state.vStar;
}

}  // namespace

void runIterations(int32_t startStrategy) {
    PlayState state;
    startPlay(&state, startStrategy);
    double estimateSum = 0.0;
    const int32_t kept =
        game.iterationCount < kMaxIterations ? game.iterationCount : kMaxIterations;
    while (state.k < kept) {
        playIteration(&state);
        keepRow(state);
        game.tallyOne[state.moveOne] += 1;
        game.tallyTwo[state.moveTwo] += 1;
        estimateSum += state.vStar;
    }
    // The long run: the same, without the rows.
    playLongRun(&state, game.iterationCount, game.tallyOne, game.tallyTwo, &estimateSum);
    game.estimateSum = estimateSum;
    game.lastSmallestB = state.smallestB;
    game.lastLargestA = state.largestA;
}
