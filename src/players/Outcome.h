// How good the result of a shot is for the player who shot, in points of
// "targets gained": the rules have judged the shot, and the state before and
// after it are compared.
//
// For a player who is not a killer: targets reached (several in one shot
// count for each), becoming a killer, keeping the turn; a lost turn counts
// against, and when the turn passes, so do a resting place far from the
// next target and one close to a killer. For a killer: the players killed
// (the leaders first), keeping the turn, and when the turn passes, a resting
// place close to another killer. For everyone: sending others on to their
// targets counts against, most of all when it helps the player who leads.
#pragma once

#include "model/GameContext.h"

namespace capzel::players {

// A won game is worth more than anything else a shot can do.
inline constexpr double kWinValue = 1e6;

// The value for `shooter` of the state `after` reached from `before`.
double outcomeValue(const Game& before, const Game& after, int shooter);

}  // namespace capzel::players
