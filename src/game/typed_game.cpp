#include "game/typed_game.h"

#include <cstring>

void typedGameOfRecord(const GameRecord* record, TypedGame* typed) {
    std::memset(typed, 0, sizeof *typed);
    std::memcpy(typed->playerOneName, record->playerOneName, kNameCapacity);
    std::memcpy(typed->playerTwoName, record->playerTwoName, kNameCapacity);
    typed->rowCount = record->rowCount;
    typed->columnCount = record->columnCount;
    for (int32_t i = 0; i < record->rowCount; ++i) {
        for (int32_t j = 0; j < record->columnCount; ++j) {
            typed->entries[i][j] = record->gm[i][j] - record->negativeShift;
        }
    }
}
