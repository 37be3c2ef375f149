// The solver on known games, and the record's invariants on random ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "game/game_record.h"
#include "game/solver.h"

namespace {

void loadGame(int rows, int columns, std::initializer_list<int32_t> entries, int iterations) {
    memset(&game, 0, sizeof game);
    game.rowCount = rows;
    game.columnCount = columns;
    game.iterationCount = iterations;
    int index = 0;
    for (int32_t entry : entries) {
        game.gm[index / columns][index % columns] = entry;
        ++index;
    }
}

void expectRow(const int32_t* row, std::initializer_list<int32_t> expected) {
    int index = 0;
    for (int32_t value : expected) EXPECT_EQ(row[index++], value) << "at index " << index - 1;
}

TEST(Solver, WorkedThreeByThreeGame) {
    loadGame(3, 3, {5, 0, 7, 2, 5, 0, 6, 1, 8}, 6);
    runIterations(0);

    // Moves are 0-based in the record.
    const int32_t playerOne[] = {0, 0, 1, 1, 1};
    const int32_t playerTwo[] = {0, 1, 1, 2, 2};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(game.choiceOne[k], playerOne[k]) << "iteration " << k;
        EXPECT_EQ(game.choiceTwo[k], playerTwo[k]) << "iteration " << k;
    }
    expectRow(game.sumsB[1], {5, 0, 7});
    expectRow(game.sumsB[2], {7, 5, 7});
    expectRow(game.sumsB[3], {9, 10, 7});
    expectRow(game.sumsB[4], {11, 15, 7});
    expectRow(game.sumsA[1], {0, 5, 1});
    expectRow(game.sumsA[2], {0, 10, 2});
    expectRow(game.sumsA[3], {7, 10, 10});
    expectRow(game.sumsA[4], {14, 10, 18});

    EXPECT_EQ(game.vStar[0], 2.5f);
    EXPECT_EQ(game.vStar[1], 3.75f);
    const float lower = static_cast<float>(7.0 / 3);
    const float upper = static_cast<float>(10.0 / 3);
    EXPECT_EQ(game.vStar[2], static_cast<float>((double{upper} + lower) * 0.5));
    EXPECT_EQ(game.vStar[3], 3.125f);

    expectRow(game.tallyOne, {1, 3, 2});
    expectRow(game.tallyTwo, {0, 3, 3});
}

TEST(Solver, OneIterationAndOneByOne) {
    // N = 1: the start row, the lowest column with its smallest entry, and
    // the best row against that column.
    loadGame(2, 3, {4, 1, 1, 3, 9, 2}, 1);
    runIterations(0);
    EXPECT_EQ(game.choiceOne[1], 0);
    EXPECT_EQ(game.choiceTwo[1], 1);
    EXPECT_EQ(game.vStar[0], (9.0f + 1.0f) / 2);
    EXPECT_EQ(game.choiceOne[2], 0);
    EXPECT_EQ(game.sumsA[2][1], 0);

    loadGame(1, 1, {7}, 5);
    runIterations(0);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(game.choiceOne[k], 0);
        EXPECT_EQ(game.choiceTwo[k], 0);
        EXPECT_EQ(game.vStar[k - 1], 7.0f);
    }
}

TEST(Solver, TiesGoToTheLowestIndex) {
    // All entries equal: column 0 always, row 0 from iteration 2 on.
    loadGame(3, 3, {4, 4, 4, 4, 4, 4, 4, 4, 4}, 5);
    runIterations(2);
    EXPECT_EQ(game.choiceOne[1], 2);
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(game.choiceTwo[k], 0);
    for (int k = 2; k <= 5; ++k) EXPECT_EQ(game.choiceOne[k], 0);
}

TEST(Solver, NoIterationsChangesNothing) {
    loadGame(2, 2, {1, 2, 3, 4}, 0);
    GameRecord before;
    memcpy(&before, &game, sizeof game);
    runIterations(1);
    EXPECT_EQ(memcmp(&before, &game, sizeof game), 0);
}

// The record after a run, checked from first principles.
void expectInvariants(const GameRecord& before) {
    const int m = game.rowCount, n = game.columnCount, N = game.iterationCount;
    int tallyOne = 0, tallyTwo = 0;
    for (int i = 0; i < kMaxStrategies; ++i) {
        tallyOne += game.tallyOne[i];
        tallyTwo += game.tallyTwo[i];
        if (i >= m) {
            EXPECT_EQ(game.tallyOne[i], 0);
        }
        if (i >= n) {
            EXPECT_EQ(game.tallyTwo[i], 0);
        }
    }
    EXPECT_EQ(tallyOne, N);
    EXPECT_EQ(tallyTwo, N);
    EXPECT_EQ(memcmp(before.gm, game.gm, sizeof game.gm), 0) << "the matrix was changed";
    for (int j = 0; j < kMaxStrategies; ++j) EXPECT_EQ(game.sumsB[0][j], 0);
    for (int k = 1; k <= N; ++k) {
        const int a = game.choiceOne[k], b = game.choiceTwo[k];
        ASSERT_TRUE(a >= 0 && a < m && b >= 0 && b < n);
        int32_t minB = game.sumsB[k][0], maxA = game.sumsA[k][0];
        for (int j = 0; j < kMaxStrategies; ++j) {
            const int32_t expected = j < n ? game.sumsB[k - 1][j] + game.gm[a][j] : 0;
            EXPECT_EQ(game.sumsB[k][j], expected);
            if (j < n && game.sumsB[k][j] < minB) minB = game.sumsB[k][j];
        }
        for (int i = 0; i < kMaxStrategies; ++i) {
            const int32_t expected = i < m ? game.sumsA[k - 1][i] + game.gm[i][b] : 0;
            EXPECT_EQ(game.sumsA[k][i], expected);
            if (i < m && game.sumsA[k][i] > maxA) maxA = game.sumsA[k][i];
        }
        // Player 2 answered with a smallest column sum.
        EXPECT_EQ(game.sumsB[k][b], minB);
        if (k < N) {
            EXPECT_EQ(game.sumsA[k][game.choiceOne[k + 1]], maxA);
        }
        // The estimate lies between the two bounds as they are stored.
        EXPECT_LE(static_cast<float>(static_cast<double>(minB) / k), game.vStar[k - 1]);
        EXPECT_GE(static_cast<float>(static_cast<double>(maxA) / k), game.vStar[k - 1]);
    }
    for (int k = N + 1; k <= kMaxIterations; ++k) {
        EXPECT_EQ(game.choiceOne[k], 0);
        EXPECT_EQ(game.choiceTwo[k], 0);
        EXPECT_EQ(game.vStar[k - 1], 0.0f);
        for (int s = 0; s < kMaxStrategies; ++s) {
            EXPECT_EQ(game.sumsA[k][s], 0);
            EXPECT_EQ(game.sumsB[k][s], 0);
        }
    }
}

TEST(Solver, RandomGamesKeepTheRecordsInvariants) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 300; ++round) {
        memset(&game, 0, sizeof game);
        game.rowCount = 1 + static_cast<int>(random() % kMaxStrategies);
        game.columnCount = 1 + static_cast<int>(random() % kMaxStrategies);
        game.iterationCount = 1 + static_cast<int>(random() % kMaxIterations);
        // Small ranges make ties common; large ones test the sums.
        const int32_t range = round % 3 == 0 ? 3 : (round % 3 == 1 ? 100 : 20000000);
        for (int i = 0; i < game.rowCount; ++i) {
            for (int j = 0; j < game.columnCount; ++j) {
                game.gm[i][j] = static_cast<int32_t>(random() % (range + 1));
            }
        }
        GameRecord before;
        memcpy(&before, &game, sizeof game);
        runIterations(static_cast<int32_t>(random() % game.rowCount));
        SCOPED_TRACE("round " + std::to_string(round));
        expectInvariants(before);
        if (HasFailure()) return;
    }
}

// The value of the game lies between every lower estimate minB/k and every
// upper estimate maxA/l, so no lower estimate of any iteration may exceed
// an upper estimate of any other. A wrong answer by either player breaks it.
TEST(Solver, LowerEstimatesNeverExceedUpperEstimates) {
    std::mt19937 random(7);
    for (int round = 0; round < 500; ++round) {
        memset(&game, 0, sizeof game);
        const int m = 1 + static_cast<int>(random() % kMaxStrategies);
        const int n = 1 + static_cast<int>(random() % kMaxStrategies);
        const int spread = round % 2 == 0 ? 2 : 1000;  // small spreads for many ties
        int32_t smallest = 0;
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j < n; ++j) {
                game.gm[i][j] = static_cast<int32_t>(random() % (2 * spread + 1)) - spread;
                if (game.gm[i][j] < smallest) smallest = game.gm[i][j];
            }
        }
        // Shifted to non-negative entries as the dialogue does.
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j < n; ++j) game.gm[i][j] -= smallest;
        }
        game.rowCount = m;
        game.columnCount = n;
        game.iterationCount = kMaxIterations;
        runIterations(static_cast<int32_t>(random() % m));

        double highestLower = -1e300, lowestUpper = 1e300;
        for (int k = 1; k <= kMaxIterations; ++k) {
            int32_t minB = game.sumsB[k][0], maxA = game.sumsA[k][0];
            for (int j = 1; j < n; ++j) minB = std::min(minB, game.sumsB[k][j]);
            for (int i = 1; i < m; ++i) maxA = std::max(maxA, game.sumsA[k][i]);
            highestLower = std::max(highestLower, static_cast<double>(minB) / k);
            lowestUpper = std::min(lowestUpper, static_cast<double>(maxA) / k);
        }
        ASSERT_LE(highestLower, lowestUpper) << "round " << round;
    }
}

}  // namespace
