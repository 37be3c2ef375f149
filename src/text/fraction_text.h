// The decimal text of exact numbers, written digit by digit here (the
// library's own conversion to text would take memory from the heap).
#pragma once

#include "game/exact_integer.h"
#include "game/fraction.h"

// Room for any fraction's text and its terminating zero: two numbers of
// up to 309 digits, a sign and the slash.
constexpr int kFractionTextCapacity = 624;

// Writes value in decimal, with a minus sign when negative, zero-terminated
// into out (cut at capacity-1 characters); returns the length.
int formatExactInteger(const ExactInteger& value, char* out, int capacity);

// "7/12", "-2/3", a whole number without "/1": "3", "0", "-2".
int formatFraction(const Fraction& value, char* out, int capacity);

// The value with `decimals` (0 to 18) digits after the point, rounded exactly, half
// away from zero ("1.750000", "3.333333"); a negative value keeps its
// minus sign even when every digit shown is 0, as the report's other
// decimals do.
int formatFractionDecimals(const Fraction& value, int decimals, char* out, int capacity);
