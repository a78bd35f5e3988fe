// Drives a turn's runs as the window's clock does, over the fake platform's yields.
#pragma once

#include "controls/TurnController.h"
#include "support/FakePlatform.h"

namespace capzel::test {

// Tells what the judging announced, one message each, as the window does
// once an advance has returned.
inline void tell(TurnController& turn, FakePlatform& ui) {
    while (turn.hasAnnouncements()) {
        ui.message(turn.nextAnnouncement().text);
        turn.announcementTold();
    }
}

// Advances the turn until no run is under way; a gone window drops the run.
inline void drive(TurnController& turn, FakePlatform& ui) {
    while (turn.running()) {
        const long wait = turn.wait();
        if (wait > 0 && !ui.yield(wait)) {
            turn.drop();
            return;
        }
        if (turn.running()) turn.advance();
        tell(turn, ui);
    }
}

// Plays a whole shot at its own pace, paying every wait.
inline ShotResult playShot(GameContext& ctx, FakePlatform& ui, const ShotOptions& options = {}) {
    StepPace pace;
    ShotEvents events;
    PacedShot run(ctx, pace, events, options);
    while (!run.done()) {
        if (run.wait() > 0) ui.yield(run.wait());
        run.advance();
    }
    return run.result();
}

}  // namespace capzel::test
