// The contact pass: a piece that has just stepped touches the other pieces.
#pragma once

#include "model/GameContext.h"

namespace capzel::engine {

// For every other piece j in the game that overlaps piece i (centres closer
// than the sum of the radii): a pair not yet in the shot's log scores 10 for
// the shooter, may be killed by a shooting killer, is logged and shortens
// the step delay; then both pieces are pushed apart through their
// velocities, each by half the overlap along the line of their centres.
void contactPass(GameContext& ctx, int i);

}  // namespace capzel::engine
