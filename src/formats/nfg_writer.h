// The game as typed, saved as a Gambit strategic game file (-o FILE.nfg),
// in the payoff version, which Gambit and the libraries that read its
// files take.
#pragma once

#include "game/typed_game.h"

// Room for the file of any game: the header and names (escaped, at most
// twice their bytes), the strategy labels and a hundred cells of two
// payoffs of at most 9 bytes each.
constexpr int kNfgTextCapacity = 4096;

// The file of `game`: a title naming the players, their names, strategy
// labels "1" to "m" and "1" to "n", and both players' payoffs cell by
// cell, player 1's strategy changing fastest (player 2's payoff the
// negative of player 1's). Writes it into out, zero-terminated, and
// returns its length.
int formatNfgText(const TypedGame* game, char out[kNfgTextCapacity]);
