// The shot engine: plays one shot from the launch until every piece rests.
#pragma once

#include "model/GameContext.h"

namespace capzel {

struct ShotOptions {
    long maxCycles = -1;  // stop the main loop after this many cycles (< 0: no limit)
};

struct ShotResult {
    long cycles = 0;          // times the stepping pass of the main loop ran
    long steps = 0;           // piece steps taken, all pieces together
    bool unfinished = false;  // stopped by maxCycles: no settlement ran
    bool abandoned = false;   // the platform reported that the window is gone
};

// Shoot_Piece: launches the current player's piece away from the second end
// of the Pointer line with the strength in Power, moves every piece step by
// step, then settles the board. Rewrites Power with the curved strength.
//
// The platform is used only for the clock and for yields: one batch of
// 10,000 for the speed calibration, then one batch of StepDelay (whole
// yields) before each step of a piece. A yield that reports the window gone
// ends the call at once, with `abandoned` and no further change.
ShotResult Shoot_Piece(GameContext& ctx, const ShotOptions& options = {});

}  // namespace capzel
