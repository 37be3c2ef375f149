// A game as the user types it: what the questions of the names, the
// numbers of strategies and the matrix are answered with. Game files are
// read into it and written from it.
#pragma once

#include <cstdint>

#include "game/game_record.h"

struct TypedGame {
    char playerOneName[kNameCapacity];                // one word of at most 11 characters
    char playerTwoName[kNameCapacity];                // one word of at most 11 characters
    int32_t rowCount;                                 // m, 1..10
    int32_t columnCount;                              // n, 1..10
    int32_t entries[kMaxStrategies][kMaxStrategies];  // player 1's payoffs as typed, not shifted
};

// The game `record` holds, as it was typed: its shift undone.
void typedGameOfRecord(const GameRecord* record, TypedGame* typed);
