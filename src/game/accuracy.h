// Playing until an accuracy: the run stops at the first iteration k whose
// upper and lower estimates lie within EPS of each other,
//
//     largestA / k - smallestB / k <= EPS,
//
// judged exactly. EPS is kept as typed, a decimal fraction, never as a
// float, so that a gap of exactly EPS stops the run whatever the digits.
#pragma once

#include <cstdint>

// The largest EPS kept as it is: a normalised game's entries span at most
// 2 * 10^7, so the gap of iteration k is at most k * 2 * 10^7 and any
// larger EPS stops every run at its first iteration, as this one does.
constexpr int64_t kLargestAccuracy = 1000000000;

struct Accuracy {
    int64_t numerator;  // above 0; a multiple of 10 only when decimals is 0
    int32_t decimals;   // 0..9: EPS is numerator / 10^decimals
};

// Reads a positive decimal number: digits with an optional point (".5"
// and "5." too) and an optional exponent ("1e-3", "2.5E+1"), no sign, no
// spaces, nothing after it. Refuses zero, a sign, anything else, and a
// number finer than 10^-9 (more than 9 decimals once the exponent is
// applied and trailing zeros dropped: 1e-9 is read, 1.5e-9 is not). A
// number above kLargestAccuracy is read as kLargestAccuracy.
bool parseAccuracy(const char* text, Accuracy* eps);

// Whether iteration k (1 or more), with k times its lower and upper
// estimates `smallestB` and `largestA` (the normalised game's, whose shift
// cancels in their difference), is within `eps`.
bool withinAccuracy(const Accuracy& eps, int64_t smallestB, int64_t largestA, int32_t k);

struct AccuracyStop {
    int32_t iteration;  // the first iteration within the accuracy; the limit when none is
    bool reached;       // an iteration up to the limit was within it
};

// Plays the game in `game` from its start with player 1's `startStrategy`
// (0-based) and finds the first of the iterations 1..`limit` within
// `eps`. The stretches of repeated moves (game/long_run.h) are judged in
// one step: the gap between the estimates times k stays the same along
// one, so its first iteration within is worked out rather than played.
AccuracyStop firstIterationWithin(const Accuracy& eps, int32_t startStrategy, int32_t limit);
