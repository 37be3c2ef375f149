#include "dialogue/mean_price.h"

#include "game/game_record.h"

float meanPrice() {
    double sum = 0.0;
    for (int32_t k = 0; k < game.iterationCount; ++k) sum += game.vStar[k];
    float price = static_cast<float>(sum / game.iterationCount);
    if (game.negativeShift != 0) {
        price = static_cast<float>(static_cast<double>(price) - game.negativeShift);
    }
    return price;
}

int32_t roundedPrice(float price) {
    const int32_t whole = static_cast<int32_t>(price);
    return static_cast<double>(price) - whole > 0.4444444 ? whole + 1 : whole;
}
