#include "game/mean_price.h"

#include "game/game_record.h"

float meanPrice() {
    float price = static_cast<float>(game.estimateSum / game.iterationCount);
    if (game.negativeShift != 0) {
        price = static_cast<float>(static_cast<double>(price) - game.negativeShift);
    }
    return price;
}

int32_t roundedPrice(float price) {
    const int32_t whole = static_cast<int32_t>(price);
    return static_cast<double>(price) - whole > 0.4444444 ? whole + 1 : whole;
}
