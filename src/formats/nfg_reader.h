// Gambit's strategic game files (.nfg), in the payoff version and in the
// outcome version, read into the game they give: a two-person game of 1 to
// 10 strategies a player whose payoffs add up to the same number in every
// cell, with player 1's payoffs whole numbers within +-10000000. A
// constant-sum game is taken as the zero-sum game of player 1's payoffs.
#pragma once

#include "game/typed_game.h"

// What is wrong with a file that is refused.
struct NfgProblem {
    int line;           // the line of the file it is on, from 1
    char message[240];  // what is wrong, without the file's name
};

// Whether the text's first word is NFG: a Gambit strategic game file
// rather than answers (a word of 3 bytes or more that is not NFG is not).
bool startsAsNfg(const char* bytes, int length);

// Reads the whole text of a file. True with the game in *game; false with
// what is wrong in *problem, *game then left undefined. Pure: reads only
// `bytes`, any bytes at all, and allocates nothing.
bool readNfgText(const char* bytes, int length, TypedGame* game, NfgProblem* problem);
