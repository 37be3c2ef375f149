// The game in pure strategies alone: what each player can make sure of
// without mixing, and the cells where both can (the saddle points). The
// first step of solving a game by hand, before any mixing is tried.
#pragma once

#include <cstdint>

#include "game/game_record.h"

struct PurePrices {
    int32_t lowerPrice;                 // alpha: the largest of the rows' minima
    int32_t upperPrice;                 // beta: the smallest of the columns' maxima
    bool lowerRows[kMaxStrategies];     // rows whose minimum is alpha (maximin rows)
    bool upperColumns[kMaxStrategies];  // columns whose maximum is beta (minimax ones)
    bool saddle[kMaxStrategies]
               [kMaxStrategies];  // the least of its row, the greatest of its column
    int32_t saddleCount;          // saddle points; some exist exactly when alpha equals beta
};

// The pure prices of the `rows` by `columns` game (1..10 each) with player
// 1's payoffs `entries`: as entered or shifted alike, the prices moving
// with the shift.
void findPurePrices(const int32_t entries[kMaxStrategies][kMaxStrategies], int32_t rows,
                    int32_t columns, PurePrices* prices);
