// The wall pass: a piece that has just stepped bounces off the inner walls.
#pragma once

#include "model/GameContext.h"

namespace capzel::engine {

// Tests piece i against walls 1 to 10 in order, each from the piece's box as
// the previous walls left it. A hit puts the piece flush against the wall
// and reflects one velocity part with 90 % of its size. Does nothing when
// the game was started without walls.
void wallPass(GameContext& ctx, int i);

}  // namespace capzel::engine
