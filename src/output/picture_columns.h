// The data a picture's lines are drawn from: the iterations of a run
// spread over the pixel columns of a plot. A column that covers many
// iterations keeps only the first, the smallest, the largest and the last
// value of each line, in the order they came: a line through those four
// enters and leaves the column where the full line does and covers the
// same pixels in between, so the picture is the one every iteration would
// draw, at a size that does not grow with the run.
#pragma once

#include <cstdint>

// What one line keeps of the iterations that fall in one pixel column.
struct ColumnExtremes {
    double first;        // the value of the column's first iteration
    double smallest;     // the smallest value in the column
    double largest;      // the largest value in the column
    double last;         // the value of the column's last iteration
    int32_t count;       // iterations added; 0 for a column no iteration falls in
    int32_t smallestAt;  // which of them (0-based) first had the smallest value
    int32_t largestAt;   // which of them first had the largest value
};

// Takes the next iteration's value into its column. Defined here: a long
// run adds every iteration of every line, and the comparisons are written
// to become selections rather than jumps, which a noisy line would make
// the processor guess wrong half the time.
inline void addToColumn(ColumnExtremes* column, double value) {
    if (column->count == 0) {
        column->first = value;
        column->smallest = value;
        column->largest = value;
        column->smallestAt = 0;
        column->largestAt = 0;
    }
    const bool below = value < column->smallest;
    const bool above = value > column->largest;
    column->smallest = below ? value : column->smallest;
    column->smallestAt = below ? column->count : column->smallestAt;
    column->largest = above ? value : column->largest;
    column->largestAt = above ? column->count : column->largestAt;
    column->last = value;
    ++column->count;
}

// The horizontal position of iteration k (1..n) on a k axis `width`
// pixels long: 0 for k = 1 and `width` for k = n (for a run of one
// iteration the linear axis runs to k = 2). Logarithmic axes need n >= 2.
double kAxisPosition(double k, int32_t n, int32_t width, bool logarithmic);

// The iteration at a position of the axis, the inverse of kAxisPosition.
double kAtAxisPosition(double position, int32_t n, int32_t width, bool logarithmic);

// The column (0 .. width-1) iteration k of n falls in. With fewer
// iterations than pixels every iteration is a column of its own (k - 1),
// so that every one is drawn; otherwise it is the pixel under k's position.
int32_t pictureColumnOf(int32_t k, int32_t n, int32_t width, bool logarithmic);

// Whether the columns of a run of n iterations hold more than one
// iteration each (and are drawn at the middle of their pixel).
inline bool columnsAreReduced(int32_t n, int32_t width) { return n >= width; }

// The first iteration that falls in a column after `column`; n + 1 when
// none does. With it a long run finds its columns without a logarithm per
// iteration.
int32_t firstIterationAfterColumn(int32_t column, int32_t n, int32_t width, bool logarithmic);

// The values a line passes through in a column, in the order the
// iterations had them, none the same as the one before: at most four.
// Returns how many were written to points.
int columnPoints(const ColumnExtremes& column, double points[4]);
