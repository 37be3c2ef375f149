// The exact solution as the report prints it, and where the report puts
// it and the wide table.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "captured_console.h"
#include "dialogue/exact_report.h"
#include "dialogue/print_results.h"
#include "game/game_record.h"
#include "game/mean_price.h"
#include "game/solver.h"

namespace {

// A game played as the dialogue leaves it: normalised, then iterated.
void playGame(int rows, int columns, std::vector<int32_t> entries, int32_t shift,
              int32_t iterations) {
    memset(&game, 0, sizeof game);
    strcpy(game.playerOneName, "Alice");
    strcpy(game.playerTwoName, "Bob");
    game.rowCount = rows;
    game.columnCount = columns;
    game.negativeShift = shift;
    for (int index = 0; index < rows * columns; ++index) {
        game.gm[index / columns][index % columns] = entries[index] + shift;
    }
    game.iterationCount = iterations;
    runIterations(0);
}

std::string exactBlock() {
    startCapture("");
    printExactSolution(meanPrice());
    return capturedOutput();
}

// Worked out by hand: the value and strategies from the 2 by 2 formulas
// (or the saddle point), the bounds from the iterations' sums.
TEST(ExactReport, BlocksOfKnownGames) {
    const struct {
        const char* name;
        int rows, columns;
        std::vector<int32_t> entries;  // as entered
        int32_t shift;
        int32_t iterations;
        const char* block;
    } cases[] = {
        {"the worked game",
         3,
         3,
         {5, 0, 7, 2, 5, 0, 6, 1, 8},
         0,
         4,
         "\n\n ===== E X A C T   S O L U T I O N ===="
         "\n\n The value of the game is: 10/3 = 3.333333"
         "\n\n An optimal strategy for Alice is :"
         "\n X[Alice] = (  0   7/12   5/12   ) ;"
         "\n\n An optimal strategy for Bob is :"
         "\n Y[Bob] = (  0   2/3   1/3   ) ;"
         "\n\n After 4 iterations the frequencies of Alice win at least 7/4 = 1.750000"
         "\n and the frequencies of Bob lose at most 9/2 = 4.500000 ;"
         "\n the mean price lies 0.281250 from the value."
         "\n"},
        // Shifted by 3 to 0 5 / 7 2: sums after 4 iterations 21 11 and 10 18.
        {"negative entries",
         2,
         2,
         {-3, 2, 4, -1},
         3,
         4,
         "\n\n ===== E X A C T   S O L U T I O N ===="
         "\n\n The value of the game is: 1/2 = 0.500000"
         "\n\n An optimal strategy for Alice is :"
         "\n X[Alice] = (  1/2   1/2   ) ;"
         "\n\n An optimal strategy for Bob is :"
         "\n Y[Bob] = (  3/10   7/10   ) ;"
         "\n\n After 4 iterations the frequencies of Alice win at least -1/4 = -0.250000"
         "\n and the frequencies of Bob lose at most 3/2 = 1.500000 ;"
         "\n the mean price lies 0.635417 from the value."
         "\n"},
        // Row 1 against column 2 is the first of two saddle points.
        {"a saddle point",
         3,
         3,
         {3, 1, 4, 2, 0, 1, 5, 1, 6},
         0,
         2,
         "\n\n ===== E X A C T   S O L U T I O N ===="
         "\n\n The value of the game is: 1 = 1.000000"
         "\n\n An optimal strategy for Alice is :"
         "\n X[Alice] = (  1   0   0   ) ;"
         "\n\n An optimal strategy for Bob is :"
         "\n Y[Bob] = (  0   1   0   ) ;"
         "\n\n The game has a saddle point: strategy 1 of Alice against strategy 2 of Bob."
         "\n\n After 2 iterations the frequencies of Alice win at least 1 = 1.000000"
         "\n and the frequencies of Bob lose at most 1 = 1.000000 ;"
         "\n the mean price lies 0.000000 from the value."
         "\n"},
    };
    for (const auto& c : cases) {
        playGame(c.rows, c.columns, c.entries, c.shift, c.iterations);
        EXPECT_EQ(exactBlock(), c.block) << c.name;
    }
}

std::string reportOf(ReportOptions options, int* key) {
    playGame(3, 3, {5, 0, 7, 2, 5, 0, 6, 1, 8}, 0, 4);
    startCapture("4\nq");
    *key = printResults(options);
    return capturedOutput();
}

// The exact solution comes after the table and its newline, before the
// final key; the wide table takes the usual one's place and nothing else.
TEST(ExactReport, PlacedAfterEitherTable) {
    int key = 0;
    const std::string plain = reportOf({false, false}, &key);
    EXPECT_EQ(key, 'q');
    const std::string exact = reportOf({true, false}, &key);
    EXPECT_EQ(key, 'q');
    const std::string wide = reportOf({false, true}, &key);
    const std::string both = reportOf({true, true}, &key);
    playGame(3, 3, {5, 0, 7, 2, 5, 0, 6, 1, 8}, 0, 4);
    const std::string block = exactBlock();

    const std::string closing = "\n  |_____|___|_________________|___|________________|________|\n";
    ASSERT_GE(plain.size(), closing.size());
    EXPECT_EQ(plain.substr(plain.size() - closing.size()), closing);
    EXPECT_EQ(exact, plain + block);
    EXPECT_EQ(both, wide + block);
    const std::string question = "(remember - the number of all itterations is 4 ) :";
    const size_t tableStart = plain.find(question) + question.size();
    EXPECT_EQ(wide.substr(0, tableStart), plain.substr(0, tableStart));
    EXPECT_NE(wide, plain);
    EXPECT_EQ(wide.back(), '\n');
}

}  // namespace
