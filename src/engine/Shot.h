// A whole shot in one call, for runs with nobody watching (the simulator,
// the computer players, the tests, the benchmarks).
#pragma once

#include <cstdint>

#include "engine/ShotRun.h"

namespace capzel {

// Launches the current player's piece away from the second end of the aim
// line with `strength` (the strength at Go), moves every piece step by step
// without waiting, then settles the board.
ShotResult shootPiece(GameContext& ctx, std::int16_t strength, const ShotOptions& options = {});

}  // namespace capzel
