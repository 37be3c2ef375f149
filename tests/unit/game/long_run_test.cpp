// Long runs, beyond the rows the record keeps: checked by property on
// random games, the hostile ones (entries of +-10,000,000) among them.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "exact_certificate.h"
#include "game/exact_solution.h"
#include "game/game_record.h"
#include "game/iteration.h"
#include "game/long_run.h"
#include "game/solver.h"

namespace {

// A random normalised game (shifted as the dialogue shifts it) with N
// iterations, played.
void playRandomGame(std::mt19937* random, int32_t spread, int32_t iterations) {
    memset(&game, 0, sizeof game);
    game.rowCount = 1 + static_cast<int32_t>((*random)() % kMaxStrategies);
    game.columnCount = 1 + static_cast<int32_t>((*random)() % kMaxStrategies);
    std::uniform_int_distribution<int32_t> entry(-spread, spread);
    int32_t smallest = 0;
    for (int i = 0; i < game.rowCount; ++i) {
        for (int j = 0; j < game.columnCount; ++j) {
            game.gm[i][j] = entry(*random);
            if (game.gm[i][j] < smallest) smallest = game.gm[i][j];
        }
    }
    game.negativeShift = -smallest;
    for (int i = 0; i < game.rowCount; ++i) {
        for (int j = 0; j < game.columnCount; ++j) game.gm[i][j] += game.negativeShift;
    }
    game.startStrategy = static_cast<int32_t>((*random)() % game.rowCount);
    game.iterationCount = iterations;
    runIterations(game.startStrategy);
}

// The exact value lies between the bounds of the last iteration, formed
// from 64-bit sums (a sum of 32 bits overflows long before ten million
// hostile iterations); a replayed row is the row the record kept; and the
// tallies and the sum of estimates are the replay's, to the bit.
TEST(LongRun, TalliesBoundsAndReplayedRows) {
    std::mt19937 random(20261208);
    const struct {
        int32_t spread;
        int32_t iterations;
    } cases[] = {{2, 100}, {1000, 1000}, {10000000, 5000}, {10000000, 250000}, {3, 123457}};
    for (const auto& c : cases) {
        for (int round = 0; round < 4; ++round) {
            SCOPED_TRACE(::testing::Message()
                         << "spread " << c.spread << ", N " << c.iterations << ", round " << round);
            playRandomGame(&random, c.spread, c.iterations);
            static ExactSolution solution;
            solveExactly(&solution);
            EXPECT_EQ(certificate::boundsFault(solution, c.iterations), "");

            PlayState played;
            startPlay(&played, game.startStrategy);
            double estimateSum = 0.0;
            int32_t tallyOne[kMaxStrategies] = {};
            int32_t tallyTwo[kMaxStrategies] = {};
            for (int32_t k = 1; k <= c.iterations; ++k) {
                const PlayState row = tableRow(&played, k);
                estimateSum += row.vStar;
                tallyOne[row.moveOne] += 1;
                tallyTwo[row.moveTwo] += 1;
                if (k > kMaxIterations) continue;
                ASSERT_EQ(row.moveOne, game.choiceOne[k]) << "row " << k;
                ASSERT_EQ(row.moveTwo, game.choiceTwo[k]) << "row " << k;
                ASSERT_EQ(row.vStar, game.vStar[k - 1]) << "row " << k;
                for (int j = 0; j < kMaxStrategies; ++j) ASSERT_EQ(row.sumsB[j], game.sumsB[k][j]);
                for (int i = 0; i < kMaxStrategies; ++i) ASSERT_EQ(row.sumsA[i], game.sumsA[k][i]);
            }
            // The replay ends where the run ended, with the same sum in the
            // same order.
            EXPECT_EQ(played.smallestB, game.lastSmallestB);
            EXPECT_EQ(played.largestA, game.lastLargestA);
            EXPECT_EQ(estimateSum, game.estimateSum);
            EXPECT_EQ(memcmp(tallyOne, game.tallyOne, sizeof tallyOne), 0);
            EXPECT_EQ(memcmp(tallyTwo, game.tallyTwo, sizeof tallyTwo), 0);
        }
    }
}

// A state `played` iterations into a random game of the given spread, the
// record holding the game (and nothing played into it).
PlayState stateOfRandomGame(std::mt19937* random, int32_t spread, int32_t played) {
    playRandomGame(random, spread, 0);
    PlayState state;
    startPlay(&state, game.startStrategy);
    playUpTo(&state, played);
    return state;
}

// Games of small spreads tie often, which is where a foreseen stretch
// could end an iteration early or late.
constexpr int32_t kSpreads[] = {1, 2, 5, 1000, 10000000};

// The stretch foreseen is exactly the iterations that follow with the
// same two moves: each of them is one, and the next (within the limit)
// is not.
TEST(LongRun, RepeatsAheadAreExactlyTheRepeatingIterations) {
    std::mt19937 random(1208);
    int64_t foreseen = 0;
    for (const int32_t spread : kSpreads) {
        for (int round = 0; round < 400; ++round) {
            const int32_t played = 1 + static_cast<int32_t>(random() % 300);
            const int32_t limit = 1 + static_cast<int32_t>(random() % 3000);
            const PlayState state = stateOfRandomGame(&random, spread, played);
            const int32_t repeats = repeatsAhead(state, limit);
            SCOPED_TRACE(::testing::Message()
                         << "spread " << spread << ", round " << round << ", after " << played
                         << ", " << repeats << " of at most " << limit);
            ASSERT_GE(repeats, 0);
            ASSERT_LE(repeats, limit);
            foreseen += repeats;
            PlayState next = state;
            for (int32_t step = 1; step <= repeats + 1 && step <= limit; ++step) {
                playIteration(&next);
                const bool same = next.moveOne == state.nextMoveOne &&
                                  next.moveTwo == state.moveTwo &&
                                  next.nextMoveOne == state.nextMoveOne;
                ASSERT_EQ(same, step <= repeats) << "iteration " << step << " after";
            }
        }
    }
    // Not a stretch of nothing every time: the method settles.
    EXPECT_GT(foreseen, 100000);
}

// What a run leaves: its state, the tallies and the sum of estimates.
struct RunEnd {
    PlayState state;
    int32_t tallyOne[kMaxStrategies];
    int32_t tallyTwo[kMaxStrategies];
    double estimateSum;
};

bool operator==(const RunEnd& x, const RunEnd& y) {
    const PlayState& s = x.state;
    const PlayState& t = y.state;
    return s.k == t.k && s.moveOne == t.moveOne && s.moveTwo == t.moveTwo &&
           s.nextMoveOne == t.nextMoveOne && s.smallestB == t.smallestB &&
           s.largestA == t.largestA && s.vStar == t.vStar &&
           memcmp(s.sumsB, t.sumsB, sizeof s.sumsB) == 0 &&
           memcmp(s.sumsA, t.sumsA, sizeof s.sumsA) == 0 &&
           memcmp(x.tallyOne, y.tallyOne, sizeof x.tallyOne) == 0 &&
           memcmp(x.tallyTwo, y.tallyTwo, sizeof x.tallyTwo) == 0 && x.estimateSum == y.estimateSum;
}

// A long run from any point ends where one iteration at a time does, to
// the bit.
TEST(LongRun, PlaysAsOneIterationAtATime) {
    std::mt19937 random(8121);
    for (const int32_t spread : kSpreads) {
        for (int round = 0; round < 60; ++round) {
            const int32_t played = static_cast<int32_t>(random() % 200);
            const int32_t until = played + static_cast<int32_t>(random() % 40000);
            SCOPED_TRACE(::testing::Message() << "spread " << spread << ", round " << round
                                              << ", from " << played << " to " << until);
            RunEnd fast{stateOfRandomGame(&random, spread, played), {}, {}, 0.5};
            RunEnd slow = fast;
            playLongRun(&fast.state, until, fast.tallyOne, fast.tallyTwo, &fast.estimateSum);
            while (slow.state.k < until) {
                playIteration(&slow.state);
                slow.tallyOne[slow.state.moveOne] += 1;
                slow.tallyTwo[slow.state.moveTwo] += 1;
                slow.estimateSum += slow.state.vStar;
            }
            EXPECT_TRUE(fast == slow);
        }
    }
}

// Rows asked for beyond the iterations of a short run are empty, as the
// record's rows are there.
TEST(LongRun, RowsBeyondTheRunAreEmpty) {
    std::mt19937 random(7);
    playRandomGame(&random, 50, 5);
    PlayState played;
    startPlay(&played, game.startStrategy);
    for (int32_t k = 1; k <= kMaxIterations; ++k) {
        const PlayState row = tableRow(&played, k);
        EXPECT_EQ(row.k, k);
        if (k <= 5) continue;
        EXPECT_EQ(row.moveOne, game.choiceOne[k]);
        EXPECT_EQ(row.smallestB + row.largestA, 0);
        EXPECT_EQ(row.vStar, 0.0f);
    }
}

}  // namespace
