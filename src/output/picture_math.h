// The few functions of mathematics the picture is drawn with, here rather
// than from the C library's libm: that shared library, loaded for them,
// would cost every run of the program (picture or not) half a megabyte of
// memory and the time to map it. Accurate to about fifteen digits for what
// the picture asks (finite numbers, positive ones for the logarithms), far
// finer than the tenth of a pixel it draws to.
#pragma once

#include <cstdint>

// ln x, for x > 0 (a very small number for anything else).
double naturalLog(double x);

// e to the x; 0 below -700 and a very large number above 700.
double naturalExp(double x);

// log10 x, for x > 0.
double decimalLog(double x);

// 10 to the e, exact from 1e-22 to 1e22 (as the division 1 / 10^-e below 1).
double tenToThe(int e);

// The square root of x >= 0.
double squareRoot(double x);

// Rounded down, up, and to the nearest whole number (halves away from
// zero), for numbers below 2^52 in magnitude.
double roundedDown(double x);
double roundedUp(double x);
double roundedToNearest(double x);

// 1, 2 or 5 times a power of ten, about a sixth of `range` (> 0): the
// step between an axis's labelled ticks.
double niceTickStep(double range);
