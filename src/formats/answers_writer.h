// A game as the answers that enter it: the text of a game file.
#pragma once

#include "game/typed_game.h"

// Room for the answers of any game: two names, two numbers and a hundred
// entries of at most 9 bytes, each followed by a blank or a line end.
constexpr int kGameAnswersCapacity = 2 * kNameCapacity + 2 * 3 + 100 * 10 + 1;

// The names on one line, the numbers of strategies on the next and then
// the matrix, one row to a line: "Alice Bob\n2 2\n1 -2\n0 4\n". Writes
// them into out, zero-terminated, and returns their length.
int formatGameAnswers(const TypedGame* game, char out[kGameAnswersCapacity]);
