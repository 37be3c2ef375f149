// The pixel columns a picture's lines are drawn from: what a column keeps
// of the iterations in it, and which iterations fall in which column.
#include "output/picture_columns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

struct AxisCase {
    int32_t n;
    int32_t width;
    bool logarithmic;
};

// clang-format off
const AxisCase kAxes[] = {
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

TEST(PictureColumns, EveryIterationFallsInOrderAndTheColumnsFitTheWidth) {
    for (const AxisCase& axis : kAxes) {
        SCOPED_TRACE(testing::Message() << "n " << axis.n << " width " << axis.width);
        const bool reduced = columnsAreReduced(axis.n, axis.width);
        int32_t column = 0;
        int32_t nextColumnAt = firstIterationAfterColumn(0, axis.n, axis.width, axis.logarithmic);
        int32_t previous = -1;
        int32_t columnsUsed = 0;
        for (int32_t k = 1; k <= axis.n; ++k) {
            const int32_t exact = pictureColumnOf(k, axis.n, axis.width, axis.logarithmic);
            // The sweep of a long run finds the same column without the logarithm.
            if (k >= nextColumnAt) {
                column = exact;
                nextColumnAt =
                    firstIterationAfterColumn(column, axis.n, axis.width, axis.logarithmic);
            }
            ASSERT_EQ(column, exact) << "k " << k;
            ASSERT_GE(exact, previous) << "k " << k;
            ASSERT_LT(exact, axis.width) << "k " << k;
            if (!reduced) {
                ASSERT_EQ(exact, previous + 1) << "k " << k;  // one each
            }
            if (exact != previous) ++columnsUsed;
            previous = exact;
        }
        EXPECT_EQ(pictureColumnOf(1, axis.n, axis.width, axis.logarithmic), 0);
        EXPECT_EQ(previous, reduced ? axis.width - 1 : axis.n - 1);
        EXPECT_LE(columnsUsed, axis.width);
        EXPECT_EQ(nextColumnAt, axis.n + 1);
        // The axis positions run from 0 to the width and back to k.
        if (axis.n > 1) {
            EXPECT_NEAR(kAxisPosition(axis.n, axis.n, axis.width, axis.logarithmic), axis.width,
                        1e-9);
            const double k = 1 + (axis.n - 1) * 0.37;
            EXPECT_NEAR(kAtAxisPosition(kAxisPosition(k, axis.n, axis.width, axis.logarithmic),
                                        axis.n, axis.width, axis.logarithmic),
                        k, 1e-6 * k);
        }
    }
}

// Drawn through the points a column keeps, a line enters and leaves each
// column at the values the full line does and reaches the same smallest
// and largest value in it: the pixels are those of every iteration.
TEST(PictureColumns, AColumnKeepsItsEndsAndExtremesInTheOrderTheyCame) {
    for (const AxisCase& axis : kAxes) {
        if (axis.n > 200000) continue;  // the same columns as above, fewer values
        for (uint32_t seed : {1u, 77u, 4242u}) {
            SCOPED_TRACE(testing::Message() << "n " << axis.n << " seed " << seed);
            const std::vector<double> values = wanderingLine(axis.n, seed);
            std::vector<ColumnExtremes> columns(axis.width, ColumnExtremes{});
            std::vector<std::vector<double>> truth(axis.width);
            for (int32_t k = 1; k <= axis.n; ++k) {
                const int32_t c = pictureColumnOf(k, axis.n, axis.width, axis.logarithmic);
                addToColumn(&columns[c], values[k - 1]);
                truth[c].push_back(values[k - 1]);
            }
            for (int32_t c = 0; c < axis.width; ++c) {
                double points[4];
                const int count = columnPoints(columns[c], points);
                ASSERT_EQ(columns[c].count, static_cast<int32_t>(truth[c].size()));
                if (truth[c].empty()) {
                    EXPECT_EQ(count, 0);
                    continue;
                }
                ASSERT_GE(count, 1);
                ASSERT_LE(count, 4);
                EXPECT_EQ(points[0], truth[c].front()) << "column " << c;
                EXPECT_EQ(points[count - 1], truth[c].back()) << "column " << c;
                EXPECT_EQ(*std::min_element(points, points + count),
                          *std::min_element(truth[c].begin(), truth[c].end()));
                EXPECT_EQ(*std::max_element(points, points + count),
                          *std::max_element(truth[c].begin(), truth[c].end()));
                // A subsequence of the column's values, none repeated in a row.
                size_t at = 0;
                for (int p = 0; p < count; ++p) {
                    if (p > 0) {
                        EXPECT_NE(points[p], points[p - 1]);
                    }
                    while (at < truth[c].size() && truth[c][at] != points[p]) ++at;
                    ASSERT_LT(at, truth[c].size()) << "point " << p << " of column " << c;
                }
            }
        }
    }
}

}  // namespace
