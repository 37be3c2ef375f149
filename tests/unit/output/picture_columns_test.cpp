// The pixel columns a picture's lines are drawn from: what a column keeps
// of the iterations in it, and which iterations fall in which column.
#include "output/picture_columns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <vector>

namespace {

// Runs of n iterations on axes of a width, linear or logarithmic.
// clang-format off
const std::tuple<int32_t, int32_t, bool> kAxes[] = {
    {1, 700, false}, {4, 700, false}, {99, 700, false},
    {100, 700, true}, {699, 700, true}, {700, 700, true}, {701, 700, true},
    {1000, 700, true}, {123457, 700, true}, {2000003, 700, true}, {50, 7, false},
};
// clang-format on

// A line that wanders, jumps and sometimes stays put: values from a small
// set, so that equal values and repeated extremes occur.
std::vector<double> wanderingLine(int32_t n, uint32_t seed) {
    std::vector<double> values;
    uint32_t state = seed;
    double value = 0;
    for (int32_t k = 0; k < n; ++k) {
        state = state * 1664525u + 1013904223u;
        const int32_t step = static_cast<int32_t>(state >> 28) - 8;  // -8 .. 7
        if (step > -3) value += step;
        values.push_back(value);
    }
    return values;
}

// The iterations go from column 0 to the last, in order, one to a column
// when there are fewer than pixels; the sweep of a long run finds the
// same columns without the logarithm; the axis runs from 0 to the width
// and back to k.
TEST(PictureColumns, EveryIterationFallsInOrderAndTheColumnsFitTheWidth) {
    for (const auto& axis : kAxes) {
        const auto [n, width, logarithmic] = axis;
        SCOPED_TRACE(testing::Message() << "n " << n << " width " << width);
        const bool reduced = columnsAreReduced(n, width);
        int32_t swept = 0;
        int32_t nextColumnAt = firstIterationAfterColumn(0, n, width, logarithmic);
        int32_t previous = -1;
        for (int32_t k = 1; k <= n; ++k) {
            const int32_t column = pictureColumnOf(k, n, width, logarithmic);
            if (k >= nextColumnAt) {
                swept = column;
                nextColumnAt = firstIterationAfterColumn(swept, n, width, logarithmic);
            }
            ASSERT_EQ(swept, column) << "k " << k;
            ASSERT_TRUE(column >= previous && column < width) << "k " << k << ": " << column;
            if (!reduced || k == 1) {
                ASSERT_EQ(column, previous + 1) << "k " << k;
            }
            previous = column;
        }
        EXPECT_EQ(previous, reduced ? width - 1 : n - 1);
        EXPECT_EQ(nextColumnAt, n + 1);
        if (n > 1) {
            EXPECT_EQ(kAxisPosition(1, n, width, logarithmic), 0);
            EXPECT_NEAR(kAxisPosition(n, n, width, logarithmic), width, 1e-9);
            const double k = 1 + (n - 1) * 0.37;
            EXPECT_NEAR(
                kAtAxisPosition(kAxisPosition(k, n, width, logarithmic), n, width, logarithmic), k,
                1e-6 * k);
        }
    }
}

// Drawn through the points a column keeps, a line enters and leaves each
// column at the values the full line does and reaches the same smallest
// and largest value in it: the pixels are those of every iteration.
TEST(PictureColumns, AColumnKeepsItsEndsAndExtremesInTheOrderTheyCame) {
    for (const auto& axis : kAxes) {
        const auto [n, width, logarithmic] = axis;
        if (n > 200000) continue;  // the same columns as above, fewer values
        for (uint32_t seed : {1u, 77u, 4242u}) {
            SCOPED_TRACE(testing::Message() << "n " << n << " seed " << seed);
            const std::vector<double> values = wanderingLine(n, seed);
            std::vector<ColumnExtremes> columns(width, ColumnExtremes{});
            std::vector<std::vector<double>> truth(width);
            for (int32_t k = 1; k <= n; ++k) {
                const int32_t c = pictureColumnOf(k, n, width, logarithmic);
                addToColumn(&columns[c], values[k - 1]);
                truth[c].push_back(values[k - 1]);
            }
            for (int32_t c = 0; c < width; ++c) {
                const std::vector<double>& all = truth[c];
                double points[4];
                const int count = columnPoints(columns[c], points);
                ASSERT_EQ(columns[c].count, static_cast<int32_t>(all.size())) << "column " << c;
                ASSERT_TRUE(count <= 4 && (count == 0) == all.empty()) << "column " << c;
                if (all.empty()) continue;
                EXPECT_EQ(points[0], all.front()) << "column " << c;
                EXPECT_EQ(points[count - 1], all.back()) << "column " << c;
                EXPECT_EQ(*std::min_element(points, points + count),
                          *std::min_element(all.begin(), all.end()));
                EXPECT_EQ(*std::max_element(points, points + count),
                          *std::max_element(all.begin(), all.end()));
                // A subsequence of the column's values, none repeated in a row.
                auto at = all.begin();
                for (int p = 0; p < count; ++p) {
                    EXPECT_TRUE(p == 0 || points[p] != points[p - 1]) << "column " << c;
                    at = std::find(at, all.end(), points[p]);
                    ASSERT_TRUE(at != all.end()) << "point " << p << " of column " << c;
                    ++at;
                }
            }
        }
    }
}

}  // namespace
