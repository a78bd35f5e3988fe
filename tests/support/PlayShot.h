// The one way the tests play a shot.
#pragma once

#include "engine/Shot.h"
#include "model/GameContext.h"

namespace capzel::test {

// Moves every piece until all rest.
inline ShotResult fireShot(GameContext& ctx) { return shootPiece(ctx); }

}  // namespace capzel::test
