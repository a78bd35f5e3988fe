#include "model/Pace.h"

#include "model/Numbers.h"

namespace capzel {

std::optional<double> calibratedDelay(double seconds, std::span<const PaceBand> bands) {
    // Whole hundredths, so that the bands' edges are compared exactly.
    const double hundredths = roundHalfEven(seconds * 100.0);
    for (const PaceBand& band : bands)
        if (hundredths >= band.from && hundredths < band.to) return band.delay;
    return std::nullopt;
}

}  // namespace capzel
