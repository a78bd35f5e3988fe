// The one way the tests play a shot: every test that fires a piece goes
// through here, so a change in how the game runs a shot is made in one place.
#pragma once

#include "engine/Shot.h"
#include "model/GameContext.h"
#include "rules/ShotJudging.h"

namespace capzel::test {

// Moves every piece until all rest (or maxCycles passes of the main loop).
inline ShotResult fireShot(GameContext& ctx, long maxCycles = -1) {
    ShotOptions options;
    options.maxCycles = maxCycles;
    return shootPiece(ctx, options);
}

// The shot and then its judging, as "Go" plays it once the pieces rest.
inline ShotResult playShot(GameContext& ctx) {
    const ShotResult r = fireShot(ctx);
    if (!r.unfinished) judgeFinishedShot(ctx);
    return r;
}

}  // namespace capzel::test
