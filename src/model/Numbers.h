// The game's arithmetic rules, in one place.
//
// Piece and wall geometry, line ends, velocities and friction are stored as
// float; every other real is a double. Expressions are evaluated in double
// (each float operand widened) and rounded to float only when stored. The
// whole project is compiled with -ffp-contract=off so that no multiply-add is
// fused and a shot gives the same result on every build.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

// A build that keeps intermediate results wider than their type (32-bit
// x87 arithmetic: 80-bit registers) rounds a wall bounce differently, and
// -ffast-math lets the optimiser reorder and contract the arithmetic: both
// would play recorded shots differently, so neither builds.
static_assert(FLT_EVAL_METHOD == 0, "the game's arithmetic needs float and double evaluated in their own precision "
                                    "(on 32-bit x86: -msse2 -mfpmath=sse)");
#ifdef __FAST_MATH__
#error "the game's arithmetic must not be built with -ffast-math"
#endif

namespace capzel {

// "Rounded to the nearest whole number, halves to the even neighbour":
// nearbyint in the default rounding mode (never std::round, which rounds
// halves away from zero).
inline double roundHalfEven(double x) { return std::nearbyint(x); }

// Points (0 or more) added to a score. A sum beyond the 32-bit range is not
// made and the score keeps its value: the game skips an arithmetic
// assignment that fails, and a score never wraps around.
inline void addPoints(std::int32_t& score, std::int32_t points) {
    if (score <= std::numeric_limits<std::int32_t>::max() - points) score += points;
}

// A sum of two box values is rounded to float before it is compared.
inline float fsum(float a, float b) { return float(double(a) + double(b)); }

// A value rounded to float as storing it in a float variable rounds it, for
// a result that goes on as a double. The volatile store is a rounding no
// optimiser may leave out: GCC 12's vectoriser (-O2, -O3) dropped a plain
// float() between two double expressions of an inlined function.
inline float storedFloat(double value) {
    volatile float stored = float(value);
    return stored;
}

}  // namespace capzel
