// A whole shot in one call, for runs with nobody watching (the simulator,
// the computer players, the tests, the benchmarks).
#pragma once

#include "engine/ShotRun.h"

namespace capzel {

// shootPiece: launches the current player's piece away from the second end
// of the Pointer line with the strength in Power, moves every piece step by
// step without waiting, then settles the board. Rewrites Power with the
// curved strength.
ShotResult shootPiece(GameContext& ctx, const ShotOptions& options = {});

}  // namespace capzel
