// The game solved by hand, step by step (-s, --steps), after the results
// and the table: the prices in pure strategies, dominance, the graphical
// solution and what the iterations gave.
#pragma once

// Prints the four steps for the game in `game`; `meanPrice` is the
// iterations' mean price, as the results showed it.
void printSolutionSteps(float meanPrice);
