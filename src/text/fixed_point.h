// Fixed-point text of a double, the same on every platform.
#pragma once

// Writes `value` with `decimals` digits after the point (a negative count
// counts as 0; past the 17th significant digit every digit is 0) into out,
// zero-terminated, and returns the length. The exact value is first
// rounded to 17 significant digits, then rounded half away from zero at
// the last printed decimal: 3.125 gives "3.13" with two decimals. A
// negative value keeps its minus sign even when every digit printed is 0.
// Writes at most capacity-1 characters (the text is cut if it would not fit).
int formatFixed(double value, int decimals, char* out, int capacity);
