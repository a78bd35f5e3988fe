// The launch of a shot: aim, strength curve, speed calibration.
#pragma once

#include <cstdint>

#include "model/Shapes.h"

namespace capzel::engine {

// The strength curve: q = power / 250, sign(q) * |q|^2.6, rounded half-even.
// A result beyond the 16-bit range of Power is held at its nearest end.
std::int16_t strengthCurve(int power);

// The launch direction from the Pointer line: from its second end towards
// its first, 5 * (x1 - x2) and 5 * (y1 - y2), normalised so that the larger
// part is exactly +-100 (x on a tie). A line of zero length has no
// direction: both parts are 0 and the result is false.
struct Direction {
    double dx = 0;
    double dy = 0;
};
bool aimDirection(const Line& pointer, Direction& out);

}  // namespace capzel::engine
