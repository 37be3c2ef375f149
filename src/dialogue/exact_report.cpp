#include "dialogue/exact_report.h"

#include "console/console.h"
#include "game/exact_solution.h"
#include "game/fraction.h"
#include "game/game_record.h"
#include "text/fraction_text.h"
#include "text/translation.h"

namespace {

constexpr int kDecimals = 6;

// The fraction and its decimals, as the report shows a number.
struct NumberText {
    char fraction[kFractionTextCapacity];
    char decimals[kFractionTextCapacity];
};

void writeNumber(const Fraction& value, NumberText* text) {
    formatFraction(value, text->fraction, sizeof text->fraction);
    formatFractionDecimals(value, kDecimals, text->decimals, sizeof text->decimals);
}

// "X" for player 1, "Y" for player 2.
void printStrategy(const char* name, const char* letter, const Fraction* probabilities,
                   int32_t count) {
    printText(tr("\n\n An optimal strategy for %s is :"), name);
    printText("\n %s[%s] = ( ", letter, name);
    char text[kFractionTextCapacity];
    for (int32_t s = 0; s < count; ++s) {
        formatFraction(probabilities[s], text, sizeof text);
        printText(" %s  ", text);
    }
    printText(" ) ;");
}

}  // namespace

void printExactSolution(float meanPrice) {
    const int32_t iterations = game.iterationCount;
    const ExactSolution& solution = solutionOfGame();
    NumberText number;
    printText("%s", tr("\n\n ===== E X A C T   S O L U T I O N ===="));
    writeNumber(solution.value, &number);
    printText(tr("\n\n The value of the game is: %s = %s"), number.fraction, number.decimals);
    printStrategy(game.playerOneName, "X", solution.playerOne, game.rowCount);
    printStrategy(game.playerTwoName, "Y", solution.playerTwo, game.columnCount);
    if (solution.hasSaddlePoint) {
        printText(tr("\n\n The game has a saddle point: strategy %d of %s against strategy %d of "
                     "%s."),
                  solution.saddleRow + 1, game.playerOneName, solution.saddleColumn + 1,
                  game.playerTwoName);
    }
    NumberText upper;
    writeNumber(playedBound(game.lastSmallestB, iterations), &number);
    writeNumber(playedBound(game.lastLargestA, iterations), &upper);
    char distance[kFractionTextCapacity];
    formatFractionDecimals(distanceFromValue(meanPrice, solution.value), kDecimals, distance,
                           sizeof distance);
    // One sentence, so that it can be translated whole; English says
    // "iterations" even of one.
    const char* sentence = trPlural(
        "\n\n After %d iterations the frequencies of %s win at least %s = %s"
        "\n and the frequencies of %s lose at most %s = %s ;"
        "\n the mean price lies %s from the value.",
        "\n\n After %d iterations the frequencies of %s win at least %s = %s"
        "\n and the frequencies of %s lose at most %s = %s ;"
        "\n the mean price lies %s from the value.",
        iterations);
    printText(sentence, iterations, game.playerOneName, number.fraction, number.decimals,
              game.playerTwoName, upper.fraction, upper.decimals, distance);
    printText("\n");
}
