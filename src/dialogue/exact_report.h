// The exact solution beside the approximation, for the report.
#pragma once

#include <cstdint>

// Solves the game in `game` exactly and prints its value, an optimal
// strategy for each player, the saddle point when there is one, and how
// far the played frequencies of `iterations` iterations and their mean
// price `meanPrice` (in the units of the game as entered) are from it.
// Reads the history of row `iterations`, so it needs the number of
// iterations played, not the number of table rows.
void printExactSolution(int32_t iterations, float meanPrice);
