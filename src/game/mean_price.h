// The mean price of the game: the average of the estimates of all
// iterations, in the units of the game as entered.
#pragma once

#include <cstdint>

// Averages the estimates (their sum, game.estimateSum) over the
// game.iterationCount iterations and shifts the average back by
// game.negativeShift. Single precision, as the estimates themselves.
float meanPrice();

// The whole-number form of a mean price: a fractional part above
// 0.4444444 rounds up, anything else is cut off (toward zero, so a
// negative price is simply truncated).
int32_t roundedPrice(float price);
