// The pace of the runs a window's clock drives. Before a shot and before
// the power bar charges, the machine's speed is measured by timing
// kCalibrationYields yields on the platform's clock; the measure, in whole
// hundredths of a second, picks the yields to wait before each step or tick
// from a table of bands. A fast machine gets the long delay.
#pragma once

#include <limits>
#include <optional>
#include <span>

namespace capzel {

inline constexpr long kCalibrationYields = 10000;

// Measures from `from` up to but not including `to` hundredths give `delay`.
struct PaceBand {
    double from;
    double to;
    double delay;
};

inline constexpr double kNoLimit = std::numeric_limits<double>::infinity();

// A shot: under 0.05 s 6000 yields a step, under 0.2 s 400, otherwise 100.
inline constexpr PaceBand kShotPace[] = {{-kNoLimit, 5, 6000}, {5, 20, 400}, {20, kNoLimit, 100}};
// The power bar: under 0.05 s 200 yields a tick, over 0.1 s and under
// 0.2 s 40, over 0.2 s 1. A measure between the bands leaves the pace as
// the last shot left it.
inline constexpr PaceBand kBarPace[] = {{-kNoLimit, 5, 200}, {11, 20, 40}, {21, kNoLimit, 1}};

// The delay for a calibration that took `seconds`; nothing when no band
// holds it.
std::optional<double> calibratedDelay(double seconds, std::span<const PaceBand> bands);

}  // namespace capzel
