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

// Reads the whole text of a file. True with the game in *game; false with
// what is wrong in *problem, *game then left undefined. Pure: reads only
// `bytes`, any bytes at all, and allocates nothing.
bool readNfgText(const char* bytes, int length, TypedGame* game, NfgProblem* problem);

// How many of the bytes the game takes, when they come from a stream that
// goes on with other answers: up to the end of its last token once its
// parts are all there, or up to the first that is out of place (the
// reader then refuses the game); -1 while more bytes are needed and may
// come (`ended` false).
int nfgGameLength(const char* bytes, int length, bool ended);
