#include "game/solution_steps.h"

#include "game/game_record.h"

namespace {

// Kept for the run: the record says whether it holds this game's steps.
SolutionSteps worked;

void workOut() {
    for (int32_t i = 0; i < game.rowCount; ++i) {
        for (int32_t j = 0; j < game.columnCount; ++j) {
            worked.entries[i][j] = game.gm[i][j] - game.negativeShift;
        }
    }
    findPurePrices(worked.entries, game.rowCount, game.columnCount, &worked.prices);
    reduceByDominance(worked.entries, game.rowCount, game.columnCount, &worked.reduction);
    reducedEntries(worked.entries, worked.reduction, worked.reduced);
    worked.graphical = solveGraphically(worked.reduced, worked.reduction.rowCount,
                                        worked.reduction.columnCount, &worked.graph);
}

}  // namespace

const SolutionSteps& stepsOfGame() {
    if (!game.stepsSolved) {
        workOut();
        game.stepsSolved = true;
    }
    return worked;
}

int32_t graphLineStrategy(const SolutionSteps& steps, int32_t line) {
    return steps.graph.overRows ? steps.reduction.columns[line] : steps.reduction.rows[line];
}

int32_t graphMixedStrategy(const SolutionSteps& steps, int32_t s) {
    return steps.graph.overRows ? steps.reduction.rows[s] : steps.reduction.columns[s];
}
