// The power bar's scale, in one place. A charge starts with the bar's level
// at the bar's inner height and lowers it by kBarTick twips a tick; "Go"
// turns the level reached into the strength at Go (the field's height less
// the level), which the launch then curves into the launch strength.
//
// Three names, three meanings: the bar's level (what a window draws while
// it charges), the strength at Go (what a shot command carries), and the
// launch strength (Game::launchStrength, after the curve).
#pragma once

#include <cstdint>

namespace capzel {

inline constexpr float kPowerBarLeft = 45;
inline constexpr float kPowerBarTop = 2760;
inline constexpr float kPowerBarWidth = 480;
inline constexpr float kPowerBarHeight = 6585;
inline constexpr int kBarTick = 10;  // twips the level falls at each tick

// The rows of the bar's inner height (its scale height, rounded).
int powerBarRows();

// Ticks from an empty bar to the last level before the bar starts again;
// every count from 1 to this one can be stopped by "Go".
int maxBarTicks();

// The bar's level after `ticks` ticks (held to 1..maxBarTicks()).
int barLevel(int ticks);

// The strength at Go for a bar stopped at `level` on a field `fieldHeight` high.
std::int16_t strengthAtGo(float fieldHeight, int level);

// The strength at Go after `ticks` ticks.
std::int16_t strengthAfterTicks(float fieldHeight, int ticks);

// The strongest strength at Go the bar gives on a field of that height.
int strongestStrength(float fieldHeight);

// The level at which the bar gives `strength` on a field `fieldHeight` high,
// and whether a charge ever stops there (a level between two ticks, or past
// the bar's range, is never reached: a computer's strength may be such).
int levelForStrength(float fieldHeight, std::int16_t strength);
bool chargeReachesLevel(int level);

}  // namespace capzel
