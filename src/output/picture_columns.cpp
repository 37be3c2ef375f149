#include "output/picture_columns.h"

#include "output/picture_math.h"

double kAxisPosition(double k, int32_t n, int32_t width, bool logarithmic) {
    if (logarithmic) return width * naturalLog(k) / naturalLog(static_cast<double>(n));
    const double span = n > 1 ? n - 1 : 1;
    return width * (k - 1) / span;
}

double kAtAxisPosition(double position, int32_t n, int32_t width, bool logarithmic) {
    if (logarithmic) return naturalExp(position / width * naturalLog(static_cast<double>(n)));
    const double span = n > 1 ? n - 1 : 1;
    return 1 + position * span / width;
}

int32_t pictureColumnOf(int32_t k, int32_t n, int32_t width, bool logarithmic) {
    if (!columnsAreReduced(n, width)) return k - 1;
    const double position = kAxisPosition(k, n, width, logarithmic);
    if (position <= 0) return 0;
    if (position >= width - 1) return width - 1;
    return static_cast<int32_t>(position);
}

int32_t firstIterationAfterColumn(int32_t column, int32_t n, int32_t width, bool logarithmic) {
    if (!columnsAreReduced(n, width)) return column + 2 <= n ? column + 2 : n + 1;
    if (column >= width - 1) return n + 1;
    // A guess from the inverse of the axis, then put right by the column
    // function itself, so that the two can never disagree.
    double guess = roundedUp(kAtAxisPosition(column + 1, n, width, logarithmic));
    if (guess < 1) guess = 1;
    if (guess > n + 1.0) guess = n + 1.0;
    auto k = static_cast<int32_t>(guess);
    while (k > 1 && pictureColumnOf(k - 1, n, width, logarithmic) > column) --k;
    while (k <= n && pictureColumnOf(k, n, width, logarithmic) <= column) ++k;
    return k;
}

int columnPoints(const ColumnExtremes& column, double points[4]) {
    if (column.count == 0) return 0;
    const bool smallestFirst = column.smallestAt <= column.largestAt;
    const double inOrder[4] = {column.first, smallestFirst ? column.smallest : column.largest,
                               smallestFirst ? column.largest : column.smallest, column.last};
    int count = 0;
    for (const double value : inOrder) {
        if (count == 0 || points[count - 1] != value) points[count++] = value;
    }
    return count;
}
