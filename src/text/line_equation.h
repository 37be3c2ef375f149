// A straight line as a course writes it: "6 - 4p", "3", "1 + p". The lines
// of a graphical solution, in the terminal, the page and the picture.
#pragma once

#include <cstdint>

// The line through `atZero` at 0 and `atOne` at 1 of `variable` ("p"),
// as its value at 0 and its slope: zero-terminated into out, cut at
// capacity - 1 characters. Returns the length.
int formatLineEquation(int32_t atZero, int32_t atOne, const char* variable, char* out,
                       int capacity);
