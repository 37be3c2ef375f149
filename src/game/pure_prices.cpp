#include "game/pure_prices.h"

#include <cstring>

namespace {

int32_t rowMinimum(const int32_t entries[kMaxStrategies][kMaxStrategies], int32_t row,
                   int32_t columns) {
    int32_t least = entries[row][0];
    for (int32_t j = 1; j < columns; ++j) {
        if (entries[row][j] < least) least = entries[row][j];
    }
    return least;
}

int32_t columnMaximum(const int32_t entries[kMaxStrategies][kMaxStrategies], int32_t column,
                      int32_t rows) {
    int32_t greatest = entries[0][column];
    for (int32_t i = 1; i < rows; ++i) {
        if (entries[i][column] > greatest) greatest = entries[i][column];
    }
    return greatest;
}

}  // namespace

void findPurePrices(const int32_t entries[kMaxStrategies][kMaxStrategies], int32_t rows,
                    int32_t columns, PurePrices* prices) {
    std::memset(prices, 0, sizeof *prices);
    int32_t minima[kMaxStrategies] = {};
    int32_t maxima[kMaxStrategies] = {};
    for (int32_t i = 0; i < rows; ++i) minima[i] = rowMinimum(entries, i, columns);
    for (int32_t j = 0; j < columns; ++j) maxima[j] = columnMaximum(entries, j, rows);

    prices->lowerPrice = minima[0];
    for (int32_t i = 1; i < rows; ++i) {
        if (minima[i] > prices->lowerPrice) prices->lowerPrice = minima[i];
    }
    prices->upperPrice = maxima[0];
    for (int32_t j = 1; j < columns; ++j) {
        if (maxima[j] < prices->upperPrice) prices->upperPrice = maxima[j];
    }
    for (int32_t i = 0; i < rows; ++i) prices->lowerRows[i] = minima[i] == prices->lowerPrice;
    for (int32_t j = 0; j < columns; ++j) {
        prices->upperColumns[j] = maxima[j] == prices->upperPrice;
    }

    // A cell is the least of its row and the greatest of its column when
    // it equals both the row's minimum and the column's maximum.
    for (int32_t i = 0; i < rows; ++i) {
        for (int32_t j = 0; j < columns; ++j) {
            const bool isSaddle = entries[i][j] == minima[i] && entries[i][j] == maxima[j];
            prices->saddle[i][j] = isSaddle;
            if (isSaddle) ++prices->saddleCount;
        }
    }
}
