// The game as typed, saved for later runs: as a game file of answers
// (-o FILE.game), which enters it again so that the next run asks only
// from the Y/N question on, or as a Gambit strategic game file
// (-o FILE.nfg). The shift is undone in both.
#pragma once

// The names, the numbers of strategies and the matrix, one row to a line.
void writeAnswersGame();

// The game in the payoff version of the Gambit format.
void writeNfgGame();
