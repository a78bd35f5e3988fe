#include "engine/Launch.h"

#include <cmath>
#include <limits>

#include "model/Numbers.h"

namespace capzel::engine {

std::int16_t strengthCurve(int power) {
    const double q = double(power) / 250.0;
    const double sign = q > 0 ? 1.0 : (q < 0 ? -1.0 : 0.0);
    const double curved = roundHalfEven(sign * std::pow(std::fabs(q), 2.6));
    constexpr double lo = std::numeric_limits<std::int16_t>::min();
    constexpr double hi = std::numeric_limits<std::int16_t>::max();
    if (curved < lo) return std::int16_t(lo);
    if (curved > hi) return std::int16_t(hi);
    return std::int16_t(curved);
}

bool aimDirection(const Line& pointer, Direction& out) {
    double dx = 5.0 * (double(pointer.x1) - double(pointer.x2));
    double dy = 5.0 * (double(pointer.y1) - double(pointer.y2));
    if (dx == 0 && dy == 0) {
        out = {};
        return false;
    }
    if (std::fabs(dx) >= std::fabs(dy)) {
        dy = dy * (100.0 / std::fabs(dx));
        dx = dx > 0 ? 100.0 : -100.0;
    } else {
        dx = dx * (100.0 / std::fabs(dy));
        dy = dy > 0 ? 100.0 : -100.0;
    }
    out = {dx, dy};
    return true;
}

}  // namespace capzel::engine
