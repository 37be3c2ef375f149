// The game solved by hand, step by step, as a course sets the exercise:
// the prices in pure strategies, the game made smaller by dominance, and
// the graphical solution of what is left when one player has two
// strategies. All of it on the game as entered, every number exact.
#pragma once

#include <cstdint>

#include "game/dominance.h"
#include "game/graphical_solution.h"
#include "game/pure_prices.h"

struct SolutionSteps {
    int32_t entries[kMaxStrategies][kMaxStrategies];  // the game as entered (the shift undone)
    PurePrices prices;                                // step 1
    Reduction reduction;                              // step 2
    int32_t reduced[kMaxStrategies][kMaxStrategies];  // the reduced game's matrix
    bool graphical;           // step 3 applies: two rows or two columns left
    GraphicalSolution graph;  // with graphical: its solution, in the
                              // reduced game's own numbering
};

// The steps of the game in `game`, worked out the first time they are
// asked for and kept for the report, the page and the pictures.
const SolutionSteps& stepsOfGame();

// The strategy that line `line` of the graphical solution stands for, and
// the one mixed strategy `s` (0 or 1) of the player who mixes, in the
// numbering of the game as entered (0-based).
int32_t graphLineStrategy(const SolutionSteps& steps, int32_t line);
int32_t graphMixedStrategy(const SolutionSteps& steps, int32_t s);
