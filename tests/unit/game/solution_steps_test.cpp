// The game solved by hand, checked on random games against the
// definitions: the pure prices and saddle points by brute force, every
// removal by dominance replayed, the graphical solution against the
// simplex solver and by its own certificate, and the stop of a run to an
// accuracy against plain iteration.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "exact_certificate.h"
#include "game/accuracy.h"
#include "game/dominance.h"
#include "game/exact_solution.h"
#include "game/game_record.h"
#include "game/graphical_solution.h"
#include "game/iteration.h"
#include "game/pure_prices.h"

namespace {

using certificate::Rational;
using Matrix = int32_t[kMaxStrategies][kMaxStrategies];

struct RandomGame {
    Matrix entries;
    int32_t rows;
    int32_t columns;
};

// Small spreads make ties, copies and saddle points common; the largest
// one checks the arithmetic at the entries' limit.
RandomGame randomGame(std::mt19937* random, int32_t rows, int32_t columns) {
    static const int32_t kSpreads[] = {1, 2, 4, 30, 10000000};
    const int32_t spread = kSpreads[(*random)() % 5];
    std::uniform_int_distribution<int32_t> entry(-spread, spread);
    RandomGame g = {};
    g.rows = rows;
    g.columns = columns;
    for (int32_t i = 0; i < rows; ++i) {
        for (int32_t j = 0; j < columns; ++j) g.entries[i][j] = entry(*random);
    }
    return g;
}

int32_t randomCount(std::mt19937* random) {
    return 1 + static_cast<int32_t>((*random)() % kMaxStrategies);
}

// Puts the game into the record as the dialogue does, shifted to no
// negative entry, for the solver and the iterations.
void enterGame(const RandomGame& g) {
    std::memset(&game, 0, sizeof game);
    game.rowCount = g.rows;
    game.columnCount = g.columns;
    int32_t smallest = 0;
    for (int32_t i = 0; i < g.rows; ++i) {
        for (int32_t j = 0; j < g.columns; ++j) smallest = std::min(smallest, g.entries[i][j]);
    }
    game.negativeShift = -smallest;
    for (int32_t i = 0; i < g.rows; ++i) {
        for (int32_t j = 0; j < g.columns; ++j) game.gm[i][j] = g.entries[i][j] - smallest;
    }
}

Rational rationalOf(const Fraction& f) {
    return Rational(certificate::integerOf(f.numerator), certificate::integerOf(f.denominator));
}

TEST(PurePrices, MatchTheirDefinitionsOnRandomGames) {
    std::mt19937 random(11);
    for (int trial = 0; trial < 3000; ++trial) {
        const RandomGame g = randomGame(&random, randomCount(&random), randomCount(&random));
        PurePrices prices;
        findPurePrices(g.entries, g.rows, g.columns, &prices);

        int32_t alpha = INT32_MIN;
        int32_t beta = INT32_MAX;
        int32_t rowMin[kMaxStrategies];
        int32_t columnMax[kMaxStrategies];
        for (int32_t i = 0; i < g.rows; ++i) {
            rowMin[i] = *std::min_element(g.entries[i], g.entries[i] + g.columns);
            alpha = std::max(alpha, rowMin[i]);
        }
        for (int32_t j = 0; j < g.columns; ++j) {
            columnMax[j] = INT32_MIN;
            for (int32_t i = 0; i < g.rows; ++i)
                columnMax[j] = std::max(columnMax[j], g.entries[i][j]);
            beta = std::min(beta, columnMax[j]);
        }
        ASSERT_EQ(prices.lowerPrice, alpha);
        ASSERT_EQ(prices.upperPrice, beta);
        ASSERT_LE(alpha, beta);
        int32_t saddles = 0;
        for (int32_t i = 0; i < g.rows; ++i) {
            ASSERT_EQ(prices.lowerRows[i], rowMin[i] == alpha);
            for (int32_t j = 0; j < g.columns; ++j) {
                bool isSaddle = true;
                for (int32_t c = 0; c < g.columns; ++c)
                    isSaddle &= g.entries[i][j] <= g.entries[i][c];
                for (int32_t r = 0; r < g.rows; ++r) isSaddle &= g.entries[i][j] >= g.entries[r][j];
                ASSERT_EQ(prices.saddle[i][j], isSaddle) << "cell " << i << ", " << j;
                saddles += isSaddle;
            }
        }
        for (int32_t j = 0; j < g.columns; ++j)
            ASSERT_EQ(prices.upperColumns[j], columnMax[j] == beta);
        ASSERT_EQ(prices.saddleCount, saddles);
        ASSERT_EQ(saddles > 0, alpha == beta);
    }
}

// Whether strategy s of the player dominates his strategy t over the
// opponent's strategies left, by the rule of the reduction: never worse
// and once better, or equal everywhere and earlier.
bool dominatesOver(const RandomGame& g, const bool* opponentLeft, int32_t player, int32_t s,
                   int32_t t) {
    const int32_t opponents = player == 1 ? g.columns : g.rows;
    bool better = false;
    for (int32_t o = 0; o < opponents; ++o) {
        if (!opponentLeft[o]) continue;
        const int64_t gainS = player == 1 ? g.entries[s][o] : -int64_t{g.entries[o][s]};
        const int64_t gainT = player == 1 ? g.entries[t][o] : -int64_t{g.entries[o][t]};
        if (gainS < gainT) return false;
        better |= gainS > gainT;
    }
    return better || s < t;
}

TEST(Dominance, EveryRemovalIsADominanceAndNoneIsLeftAndTheValueStays) {
    std::mt19937 random(12);
    for (int trial = 0; trial < 3000; ++trial) {
        const RandomGame g = randomGame(&random, randomCount(&random), randomCount(&random));
        Reduction reduction;
        reduceByDominance(g.entries, g.rows, g.columns, &reduction);

        // Replayed in order: each removal was a dominance among what was
        // left at its turn, rows before columns within a round, rising.
        bool left[3][kMaxStrategies];
        for (int32_t s = 0; s < kMaxStrategies; ++s) left[1][s] = left[2][s] = true;
        for (int32_t r = 0; r < reduction.removalCount; ++r) {
            const Removal& removal = reduction.removals[r];
            const int32_t p = removal.player;
            ASSERT_TRUE(left[p][removal.strategy]);
            ASSERT_TRUE(left[p][removal.dominator]);
            ASSERT_TRUE(dominatesOver(g, left[3 - p], p, removal.dominator, removal.strategy));
            if (r > 0) {
                const Removal& before = reduction.removals[r - 1];
                const bool ordered = before.round < removal.round ||
                                     (before.round == removal.round && before.player < p) ||
                                     (before.round == removal.round && before.player == p &&
                                      before.strategy < removal.strategy);
                ASSERT_TRUE(ordered) << "removal " << r;
            }
            left[p][removal.strategy] = false;
        }
        // What is left is what the reduction lists, and none of it dominated.
        int32_t rows = 0;
        int32_t columns = 0;
        for (int32_t i = 0; i < g.rows; ++i) {
            if (!left[1][i]) continue;
            ASSERT_LT(rows, reduction.rowCount);
            ASSERT_EQ(reduction.rows[rows++], i);
        }
        for (int32_t j = 0; j < g.columns; ++j) {
            if (!left[2][j]) continue;
            ASSERT_LT(columns, reduction.columnCount);
            ASSERT_EQ(reduction.columns[columns++], j);
        }
        ASSERT_EQ(rows, reduction.rowCount);
        ASSERT_EQ(columns, reduction.columnCount);
        for (int32_t p = 1; p <= 2; ++p) {
            const int32_t count = p == 1 ? g.rows : g.columns;
            for (int32_t s = 0; s < count; ++s) {
                for (int32_t t = 0; t < count; ++t) {
                    if (s == t || !left[p][s] || !left[p][t]) continue;
                    ASSERT_FALSE(dominatesOver(g, left[3 - p], p, s, t))
                        << p << ": " << s << " " << t;
                }
            }
        }

        // The reduced game has the value of the whole one.
        RandomGame reduced = {};
        reduced.rows = reduction.rowCount;
        reduced.columns = reduction.columnCount;
        reducedEntries(g.entries, reduction, reduced.entries);
        enterGame(g);
        ExactSolution whole;
        solveExactly(&whole);
        enterGame(reduced);
        ExactSolution part;
        solveExactly(&part);
        ASSERT_EQ(rationalOf(whole.value), rationalOf(part.value)) << "trial " << trial;
    }
}

// The mixing player's payoff when he plays his first strategy with
// probability p and the other player plays strategy s.
Rational lineAt(const RandomGame& g, bool overRows, int32_t s, const Rational& p) {
    const int32_t one = overRows ? g.entries[0][s] : g.entries[s][0];
    const int32_t zero = overRows ? g.entries[1][s] : g.entries[s][1];
    return p * one + (1 - p) * zero;
}

// The envelope the other player picks from: the least line when player
// 1 mixes, the greatest when player 2 does.
Rational envelopeAt(const RandomGame& g, bool overRows, const Rational& p) {
    const int32_t lines = overRows ? g.columns : g.rows;
    Rational best = lineAt(g, overRows, 0, p);
    for (int32_t s = 1; s < lines; ++s) {
        const Rational height = lineAt(g, overRows, s, p);
        if (overRows ? height < best : height > best) best = height;
    }
    return best;
}

TEST(GraphicalSolution, AgreesWithTheSimplexAndCertifiesItself) {
    std::mt19937 random(13);
    for (int trial = 0; trial < 3000; ++trial) {
        const bool twoRows = random() % 2 == 0;
        const RandomGame g = randomGame(&random, twoRows ? 2 : randomCount(&random),
                                        twoRows ? randomCount(&random) : 2);
        GraphicalSolution solution;
        ASSERT_TRUE(solveGraphically(g.entries, g.rows, g.columns, &solution));
        ASSERT_EQ(solution.overRows, g.rows == 2);
        const bool overRows = solution.overRows;

        enterGame(g);
        ExactSolution exact;
        solveExactly(&exact);
        const Rational value = rationalOf(solution.value);
        ASSERT_EQ(value, rationalOf(exact.value)) << "trial " << trial;

        // p* holds the envelope at the value, and no smaller p does.
        const Rational p = rationalOf(solution.p);
        ASSERT_GE(p, 0);
        ASSERT_LE(p, 1);
        ASSERT_EQ(envelopeAt(g, overRows, p), value);
        if (p > 0) {
            const Rational before = p - Rational(1, 100000000) * p;
            ASSERT_NE(envelopeAt(g, overRows, before), value) << "trial " << trial;
        }

        // The other player's answer holds the mixing player to the value
        // at both ends, hence at every p: it is optimal.
        ASSERT_TRUE(solution.activeCount == 1 || solution.activeCount == 2);
        Rational weights = 0;
        for (int32_t a = 0; a < solution.activeCount; ++a) {
            ASSERT_GT(rationalOf(solution.activeWeight[a]), 0);
            weights += rationalOf(solution.activeWeight[a]);
        }
        if (solution.activeCount == 2) {
            ASSERT_LT(solution.active[0], solution.active[1]);
        }
        ASSERT_EQ(weights, 1);
        for (const int32_t end : {0, 1}) {
            Rational payoff = 0;
            for (int32_t a = 0; a < solution.activeCount; ++a) {
                payoff += rationalOf(solution.activeWeight[a]) *
                          lineAt(g, overRows, solution.active[a], Rational(end));
            }
            if (overRows) {
                ASSERT_LE(payoff, value) << "trial " << trial;
            } else {
                ASSERT_GE(payoff, value) << "trial " << trial;
            }
        }
    }
}

TEST(GraphicalSolution, OnlyForTwoRowsOrTwoColumns) {
    const Matrix entries = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    GraphicalSolution solution;
    for (const int32_t size : {1, 3, 10}) {
        EXPECT_FALSE(solveGraphically(entries, size, size, &solution)) << size;
    }
    EXPECT_TRUE(solveGraphically(entries, 3, 2, &solution));
    EXPECT_FALSE(solution.overRows);
}

TEST(Accuracy, ReadsDecimalsExactlyAndRefusesTheRest) {
    struct Case {
        const char* text;
        bool read;
        int64_t numerator;
        int32_t decimals;
    };
    const Case cases[] = {
        {"0.1", true, 1, 1},         {"0.05", true, 5, 2},
        {"2", true, 2, 0},           {"1e-3", true, 1, 3},
        {".5", true, 5, 1},          {"5.", true, 5, 0},
        {"2.5E+1", true, 25, 0},     {"0.100", true, 1, 1},
        {"120", true, 120, 0},       {"1e-9", true, 1, 9},
        {"0.000000001", true, 1, 9}, {"1e12", true, kLargestAccuracy, 0},
        {"1.5e-9", false, 0, 0},     {"0.0000000001", false, 0, 0},
        {"0", false, 0, 0},          {"0.000", false, 0, 0},
        {"-1", false, 0, 0},         {"+1", false, 0, 0},
        {"", false, 0, 0},           {".", false, 0, 0},
        {"1e", false, 0, 0},         {"0.1x", false, 0, 0},
        {" 1", false, 0, 0},         {"1..2", false, 0, 0},
        {"ten", false, 0, 0},        {"1e-99999999999999999999", false, 0, 0},
    };
    for (const Case& c : cases) {
        Accuracy eps = {};
        ASSERT_EQ(parseAccuracy(c.text, &eps), c.read) << c.text;
        if (!c.read) continue;
        EXPECT_EQ(eps.numerator, c.numerator) << c.text;
        EXPECT_EQ(eps.decimals, c.decimals) << c.text;
    }
}

TEST(Accuracy, StopsAtTheFirstIterationWithinLikePlainPlay) {
    std::mt19937 random(14);
    const char* const epsilons[] = {"0.1", "0.5", "1", "2", "0.01", "3e-3", "1e-9", "25"};
    for (int trial = 0; trial < 600; ++trial) {
        // Two strategies a side make the long stretches of one move.
        const bool small = trial % 2 == 0;
        const RandomGame g =
            randomGame(&random, small ? 2 : randomCount(&random), small ? 2 : randomCount(&random));
        enterGame(g);
        Accuracy eps;
        ASSERT_TRUE(parseAccuracy(epsilons[trial % 8], &eps));
        const int32_t start = static_cast<int32_t>(random() % g.rows);
        const int32_t limit = 1 + static_cast<int32_t>(random() % 3000);

        const certificate::Integer scale =
            boost::multiprecision::pow(certificate::Integer(10), eps.decimals);
        PlayState state;
        startPlay(&state, start);
        int32_t expected = 0;
        while (state.k < limit && expected == 0) {
            playIteration(&state);
            // gap <= EPS * k in unbounded integers, apart from the function tested.
            const certificate::Integer gap(state.largestA - state.smallestB);
            if (gap * scale <= certificate::Integer(eps.numerator) * state.k) expected = state.k;
        }
        const AccuracyStop stop = firstIterationWithin(eps, start, limit);
        ASSERT_EQ(stop.reached, expected != 0) << "trial " << trial;
        ASSERT_EQ(stop.iteration, expected != 0 ? expected : limit) << "trial " << trial;
    }
}

}  // namespace
