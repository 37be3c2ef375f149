// The table of iterations as textbooks lay it out: every strategy of both
// sides and both estimates, for the report's wide form.
#pragma once

#include <cstdint>

// Prints the table's frame and head and its first `rows` iterations
// (none for 0 or less; rows beyond the iterations played are empty):
// columns k, i, B1..Bn, j, A1..Am, V_, V^ and V*, all of the normalised
// game, each column as wide as its widest entry; V_ and V^ are the sums
// over k in double precision, V* the stored estimate. Ends with the
// closing line, without a newline after it.
void printWideTable(int32_t rows);
