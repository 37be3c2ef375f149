// The whole numbers of the exact solution: Boost.Multiprecision's signed
// integers of a fixed 1024 bits. A fixed width lives where it is declared,
// so the arithmetic needs no heap, and it is header-only, so every build
// of the program has it.
//
// Why 1024 bits are enough. The exact solution pivots a tableau of whole
// numbers (see exact_solution.cpp) in which every entry is, up to its
// sign, a minor of order at most 11 of the matrix
//
//     | G + 1   1 |
//     |  -1     0 |
//
// where G + 1 is the normalised game with 1 added to every entry: at most
// 10 by 10 entries from 1 to 20,000,001 (entries of up to 10,000,000 in
// magnitude, shifted by at most 10,000,000). By Hadamard's inequality a
// minor is at most the product of the lengths of its rows: at most ten
// rows of ten entries up to 20,000,001 and a 1, and one row of ten 1s,
// together (10 * 20,000,001^2 + 1)^5 * sqrt(10) < 3.3e78 < 2^261. A pivot
// step forms two products of such entries and their difference before it
// divides (below 2^523), and the ratio test compares two such products.
// The answer's fractions are entries as they stand, and the value's
// numerator, D - (1 + shift) * z with a shift of at most 10,000,000, stays
// below 2^286. 1024 bits hold all of it with a sign and 500 bits to spare;
// the tests measure the largest number a solve meets.
#pragma once

#include <cstddef>
#include <cstdlib>

// The program needs nothing of the C++ library beyond its headers, and
// three settings keep it so with Boost's integers. Every file, the tests'
// and the fuzz target's too, reads Boost through this header, so that all
// of them see it the same way.
//
// - cpp_int.hpp includes <iostream> for its stream operators, which the
//   program never uses; with GCC's library that header puts a stream
//   initialiser into every file that includes it, and with it the whole
//   C++ library into every run. Its include guard holds it back while
//   Boost is read, and is lifted again afterwards.
// - Boost reports misuse (a division by zero, the bits of a zero) by
//   throwing; the program has no exceptions, and none of those can happen
//   within the bound above, so such a report ends the program on the spot.
// - Karatsuba multiplication sets in at 40 limbs and would then work in
//   numbers of the heap; a 1024-bit number has 16 limbs, so it never sets
//   in, and with the cut-off moved past any width the compiler sees so
//   and leaves it out (a cut-off that a 32-bit size_t holds too, as the
//   web program has it).
#if defined(__GLIBCXX__) && !defined(_GLIBCXX_IOSTREAM)
#define _GLIBCXX_IOSTREAM 1  // NOLINT(bugprone-reserved-identifier): the library's own guard
#define BR_IOSTREAM_HELD_BACK
#endif
#include <boost/throw_exception.hpp>
#undef BOOST_THROW_EXCEPTION
#define BOOST_THROW_EXCEPTION(x) std::abort()
#define BOOST_MP_KARATSUBA_CUTOFF (std::size_t{1} << 24)
#include <boost/multiprecision/cpp_int.hpp>
#ifdef BR_IOSTREAM_HELD_BACK
#undef _GLIBCXX_IOSTREAM
#undef BR_IOSTREAM_HELD_BACK
#endif

using ExactInteger = boost::multiprecision::int1024_t;
