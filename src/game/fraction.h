// Exact fractions of whole numbers, always in lowest terms with a
// positive denominator, so that equal numbers have one form.
#pragma once

#include "game/exact_integer.h"

struct Fraction {
    ExactInteger numerator;
    ExactInteger denominator;  // above 0
};

// numerator / denominator in lowest terms; the denominator must not be 0.
Fraction reducedFraction(const ExactInteger& numerator, const ExactInteger& denominator);

// The exact value of a finite float (not an infinity or a NaN): a float
// is a whole number of 24 bits times a power of two, so it is a fraction
// whose denominator is a power of two.
Fraction fractionOfFloat(float value);

// a - b, in lowest terms.
Fraction fractionDifference(const Fraction& a, const Fraction& b);

// The fraction as a double, to some fifteen digits: as close as a picture
// can tell.
double fractionToDouble(const Fraction& value);
