// The game's arithmetic rules, in one place.
//
// Piece and wall geometry, line ends, velocities and friction are stored as
// float; every other real is a double. Expressions are evaluated in double
// (each float operand widened) and rounded to float only when stored. The
// whole project is compiled with -ffp-contract=off so that no multiply-add is
// fused and a shot gives the same result on every build.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

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

}  // namespace capzel
