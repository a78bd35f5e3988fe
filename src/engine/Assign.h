// Assignments of the shot engine that may fail.
//
// A value that cannot be stored (a division by zero, a result too large for
// its single-precision target, any other non-finite result) is not stored:
// the target keeps its old value and the shot goes on with the next
// assignment. After the first contact of a shot this is the rule the game
// states. Before it no such value can come from a launch (the strength is a
// 16-bit number); it can only come from values set by hand during the shot,
// and skipping is the gentlest answer there as well, so one rule serves the
// whole shot and the hot loop has one path.
#pragma once

#include <cmath>

namespace capzel::engine {

// target = float(value), unless the rounded value is not finite.
inline void assignFloat(float& target, double value) {
    const float f = float(value);
    if (std::isfinite(f)) target = f;
}

// target = value, unless the value is not finite.
inline void assignDouble(double& target, double value) {
    if (std::isfinite(value)) target = value;
}

// A velocity part moves a piece when v / 2.5, rounded half-even, is not 0.
// For every float this is |v| > 1.25 (1.25 / 2.5 is exactly 0.5, which goes
// to the even 0; anything larger goes to 1), with NaN counted as moving as
// the rounding would count it, without a call into the maths library on the
// hot path.
inline bool movingPart(float v) { return !(std::fabs(double(v)) <= 1.25); }

}  // namespace capzel::engine
