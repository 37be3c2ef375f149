#include "dialogue/steps_report.h"

#include "console/console.h"
#include "game/exact_solution.h"
#include "game/fraction.h"
#include "game/game_record.h"
#include "game/solution_steps.h"
#include "text/fraction_text.h"
#include "text/line_equation.h"
#include "text/strategy_list.h"
#include "text/translation.h"

namespace {

constexpr int kDecimals = 6;

// The strategies' list ("strategies 1 and 3", in the words of the
// language) for the sentences that name them.
struct MarkedList {
    char text[kMaxStrategies * 16 + 64];  // the list, as formatStrategyList writes it
};

MarkedList markedList(const bool* marked, int32_t count) {
    MarkedList list;
    formatStrategyList(marked, count, list.text, sizeof list.text);
    return list;
}

void printPurePrices(const SolutionSteps& steps) {
    const PurePrices& prices = steps.prices;
    printText("%s", tr("\n\n 1. Pure strategies."));
    printText(
        tr("\n The lower price of the game: alpha = max over i of min over j of GM[i][j] = %d,"
           "\n reached by %s of %s;"),
        prices.lowerPrice, markedList(prices.lowerRows, game.rowCount).text, game.playerOneName);
    printText(tr("\n the upper price of the game: beta = min over j of max over i of GM[i][j] = %d,"
                 "\n reached by %s of %s."),
              prices.upperPrice, markedList(prices.upperColumns, game.columnCount).text,
              game.playerTwoName);
    printText(tr("\n So %d <= v <= %d."), prices.lowerPrice, prices.upperPrice);
    if (prices.saddleCount == 0) {
        printText("%s", tr("\n There is no saddle point: the players must mix their strategies."));
        return;
    }
    // A list, not a count: one point or more than one, in any language.
    printText("%s", prices.saddleCount == 1 ? tr("\n The game has a saddle point (i, j):")
                                            : tr("\n The game has saddle points (i, j):"));
    for (int32_t i = 0; i < game.rowCount; ++i) {
        for (int32_t j = 0; j < game.columnCount; ++j) {
            if (prices.saddle[i][j]) printText(" (%d, %d)", i + 1, j + 1);
        }
    }
    printText(tr(".\n The value of the game is v = %d; an optimal pure strategy for %s is any i"
                 "\n of these, for %s any j of these. The iterations only confirm it."),
              prices.lowerPrice, game.playerOneName, game.playerTwoName);
}

void printRemoval(const Removal& removal) {
    const bool row = removal.player == 1;
    printText(removal.duplicate
                  ? tr("\n Strategy %d of %s is the same as strategy %d, which comes first: "
                       "removed.")
                  : tr("\n Strategy %d of %s is dominated by strategy %d: removed."),
              removal.strategy + 1, row ? game.playerOneName : game.playerTwoName,
              removal.dominator + 1);
}

// The reduced game with its strategies named by their numbers in the game
// as entered.
void printReducedGame(const SolutionSteps& steps) {
    const Reduction& reduction = steps.reduction;
    printText("%s",
              tr("\n The reduced game, its strategies numbered as entered (i down, j across):"));
    printText("\n\n        |");
    for (int32_t c = 0; c < reduction.columnCount; ++c) printText(" %9d", reduction.columns[c] + 1);
    printText("\n   -----+");
    for (int32_t c = 0; c < reduction.columnCount; ++c) printText("----------");
    for (int32_t r = 0; r < reduction.rowCount; ++r) {
        printText("\n   %4d |", reduction.rows[r] + 1);
        for (int32_t c = 0; c < reduction.columnCount; ++c) printText(" %9d", steps.reduced[r][c]);
    }
}

void printDominance(const SolutionSteps& steps) {
    printText("%s", tr("\n\n 2. Dominance (by pure strategies only)."));
    const Reduction& reduction = steps.reduction;
    if (reduction.removalCount == 0) {
        printText("%s", tr("\n No strategy is dominated: the game stays as it is."));
        return;
    }
    for (int32_t r = 0; r < reduction.removalCount; ++r) printRemoval(reduction.removals[r]);
    printReducedGame(steps);
}

void printGraphicalSolution(const SolutionSteps& steps) {
    printText("%s", tr("\n\n 3. The graphical solution."));
    if (!steps.graphical && steps.reduction.rowCount == 1) {
        printText(tr("\n Dominance leaves each player one strategy: they are the solution, and the"
                     "\n value is the entry left, %d."),
                  steps.reduced[0][0]);
        return;
    }
    if (!steps.graphical) {
        printText("%s",
                  tr("\n Each player keeps more than two strategies: the game has no graphical"
                     "\n solution (the exact solution, -x, solves it by the simplex method)."));
        return;
    }
    const GraphicalSolution& graph = steps.graph;
    const char* mixer = graph.overRows ? game.playerOneName : game.playerTwoName;
    const char* other = graph.overRows ? game.playerTwoName : game.playerOneName;
    const char* variable = graph.overRows ? "p" : "q";
    printText(tr("\n %s plays strategy %d with probability %s and strategy %d with 1 - %s;"), mixer,
              graphMixedStrategy(steps, 0) + 1, variable, graphMixedStrategy(steps, 1) + 1,
              variable);
    printText(tr("\n each strategy of %s is a line over %s from 0 to 1:"), other, variable);
    char line[64];
    for (int32_t s = 0; s < graph.lineCount; ++s) {
        formatLineEquation(graph.atZero[s], graph.atOne[s], variable, line, sizeof line);
        printText(tr("\n   strategy %d of %s: %s"), graphLineStrategy(steps, s) + 1, other, line);
    }
    char p[kFractionTextCapacity];
    char value[kFractionTextCapacity];
    char decimals[kFractionTextCapacity];
    formatFraction(graph.p, p, sizeof p);
    formatFraction(graph.value, value, sizeof value);
    formatFractionDecimals(graph.value, kDecimals, decimals, sizeof decimals);
    printText(graph.overRows
                  ? tr("\n %s answers with the lowest line: the lower envelope is highest at %s* = "
                       "%s,\n where v = %s = %s.")
                  : tr("\n %s answers with the highest line: the upper envelope is lowest at %s* = "
                       "%s,\n where v = %s = %s."),
              other, variable, p, value, decimals);
    if (graph.activeCount == 1) {
        printText(tr("\n Strategy %d of %s alone holds %s to the value there: he plays it."),
                  graphLineStrategy(steps, graph.active[0]) + 1, other, mixer);
        return;
    }
    char first[kFractionTextCapacity];
    char second[kFractionTextCapacity];
    formatFraction(graph.activeWeight[0], first, sizeof first);
    formatFraction(graph.activeWeight[1], second, sizeof second);
    printText(tr("\n The lines of strategies %d and %d of %s cross there: they are his active"
                 "\n strategies, played with probabilities %s and %s."),
              graphLineStrategy(steps, graph.active[0]) + 1,
              graphLineStrategy(steps, graph.active[1]) + 1, other, first, second);
}

void printIterationsStep(float meanPrice) {
    const int32_t k = game.iterationCount;
    char lower[kFractionTextCapacity];
    char upper[kFractionTextCapacity];
    formatFractionDecimals(playedBound(game.lastSmallestB, k), kDecimals, lower, sizeof lower);
    formatFractionDecimals(playedBound(game.lastLargestA, k), kDecimals, upper, sizeof upper);
    printText("%s", tr("\n\n 4. The iterations."));
    // English says "iterations" even of one.
    printText(trPlural("\n After %d iterations the mean price of the game is %f, and the value lies"
                       "\n between V_ = %s and V^ = %s.",
                       "\n After %d iterations the mean price of the game is %f, and the value lies"
                       "\n between V_ = %s and V^ = %s.",
                       k),
              k, static_cast<double>(meanPrice), lower, upper);
}

}  // namespace

void printSolutionSteps(float meanPrice) {
    const SolutionSteps& steps = stepsOfGame();
    printText("%s", tr("\n\n ===== S T E P   B Y   S T E P ===="));
    printPurePrices(steps);
    printDominance(steps);
    printGraphicalSolution(steps);
    printIterationsStep(meanPrice);
    printText("\n");
}
