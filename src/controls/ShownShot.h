// What the computer's turn and a shot from another computer share: each
// shows a shot as a person makes it (aim, hold, charge, "Go", the shot),
// the gestures timed on the platform's clock and the charge and the shot
// run by the turn itself.
#pragma once

#include "controls/TurnController.h"
#include "platform/Platform.h"

namespace capzel {

// Yields before a shown shot's next advance: the turn's own while it
// charges or shoots, none once done, and between two looks at the clock
// during a gesture, `pollYields`.
template <class Stage>
long shownShotWait(Stage stage, const TurnController& turn, long pollYields) {
    switch (stage) {
    case Stage::Charging:
    case Stage::Shooting:
        return turn.wait();
    case Stage::Done:
        return 0;
    default:
        return pollYields;
    }
}

// Seconds on the platform's clock since `mark`; a clock that went back
// (at midnight) counts as a long time.
inline double secondsSince(Platform& clock, double mark) {
    const double s = clock.clock() - mark;
    return s < 0 ? 1e9 : s;
}

}  // namespace capzel
