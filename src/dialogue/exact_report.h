// The exact solution beside the approximation, for the report.
#pragma once

#include <cstdint>

// Solves the game in `game` exactly and prints its value, an optimal
// strategy for each player, the saddle point when there is one, and how
// far the played frequencies of the game.iterationCount iterations (their
// bounds after the last one, game.lastSmallestB and game.lastLargestA)
// and their mean price `meanPrice` (in the units of the game as entered)
// are from it.
void printExactSolution(float meanPrice);
