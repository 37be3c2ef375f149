#include "game/long_run.h"

#include "game/game_record.h"

namespace {

// The last of the next iterations (counted from 1, at most `limit`) in
// which a rival, `gap` behind the strategy being played and losing
// `slope` on it per iteration, is still behind: strictly, when the rival
// has the lower index and would win a tie.
int32_t lastBehind(int64_t gap, int64_t slope, bool winsTie, int32_t limit) {
    const int64_t needed = winsTie ? 1 : 0;  // the rival's gap must stay at least this
    if (slope >= 0 || gap + slope * limit >= needed) return limit;
    return static_cast<int32_t>((gap - needed) / -slope);
}

// Plays the `count` iterations that repeat the last one.
void playRepeats(PlayState* state, int32_t count, int32_t* tallyOne, int32_t* tallyTwo,
                 double* estimateSum) {
    const int32_t a = state->nextMoveOne;
    const int32_t b = state->moveTwo;
    const int64_t payoff = game.gm[a][b];  // both players' sums grow by it
    int64_t smallestB = state->smallestB;
    int64_t largestA = state->largestA;
    int32_t k = state->k;
    double sum = *estimateSum;
    float vStar = state->vStar;
    for (int32_t step = 0; step < count; ++step) {
        smallestB += payoff;
        largestA += payoff;
        vStar = estimateOf(smallestB, largestA, ++k);
        sum += vStar;
    }
    // The sums move on by `count` times the row and the column played.
    for (int32_t j = 0; j < game.columnCount; ++j) {
        state->sumsB[j] += count * int64_t{game.gm[a][j]};
    }
    for (int32_t i = 0; i < game.rowCount; ++i) {
        state->sumsA[i] += count * int64_t{game.gm[i][b]};
    }
    state->k = k;
    state->moveOne = a;
    state->smallestB = smallestB;
    state->largestA = largestA;
    state->vStar = vStar;
    tallyOne[a] += count;
    tallyTwo[b] += count;
    *estimateSum = sum;
}

}  // namespace

int32_t repeatsAhead(const PlayState& state, int32_t limit) {
    const int32_t a = state.nextMoveOne;
    const int32_t b = state.moveTwo;
    const int64_t payoff = game.gm[a][b];
    int32_t count = limit;
    for (int32_t j = 0; j < game.columnCount; ++j) {
        if (j == b) continue;
        count = lastBehind(state.sumsB[j] - state.smallestB, game.gm[a][j] - payoff, j < b, count);
    }
    for (int32_t i = 0; i < game.rowCount; ++i) {
        if (i == a) continue;
        count = lastBehind(state.largestA - state.sumsA[i], payoff - game.gm[i][b], i < a, count);
    }
    return count;
}

namespace {

// Plays one iteration and the stretch that repeats it, up to `k`
// iterations in all. Kept out of the loop that calls it: a browser's
// engine puts a function's optimised code in place only for its next
// call, and a long run is a single call.
[[gnu::noinline]] void playStretch(PlayState* state, int32_t k, int32_t* tallyOne,
                                   int32_t* tallyTwo, double* estimateSum) {
    playIteration(state);
    tallyOne[state->moveOne] += 1;
    tallyTwo[state->moveTwo] += 1;
    *estimateSum += state->vStar;
    const int32_t repeats = repeatsAhead(*state, k - state->k);
    if (repeats > 0) playRepeats(state, repeats, tallyOne, tallyTwo, estimateSum);
}

}  // namespace

void playLongRun(PlayState* state, int32_t k, int32_t* tallyOne, int32_t* tallyTwo,
                 double* estimateSum) {
    while (state->k < k) playStretch(state, k, tallyOne, tallyTwo, estimateSum);
}
