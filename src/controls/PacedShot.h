// A shot at the window's pace. The shot in play (rules/ShotInPlay.h) has
// been launched; the first wait is the speed calibration (kCalibrationYields
// yields timed with the platform's clock), which gives the pace its delay
// for a shot; every later wait is the pace's yields before one piece's
// step. Each pair that touches for the first time shortens the delay by
// the pieces it found moving.
#pragma once

#include <cstddef>

#include "model/Pace.h"
#include "platform/Platform.h"
#include "rules/ShotInPlay.h"

namespace capzel {

class PacedShot {
public:
    // The shot, the clock and the pace must outlive the run.
    PacedShot(ShotInPlay& shot, Platform& clockSource, StepPace& pace);

    // The pieces rest: the shot waits to be judged.
    bool done() const { return shot_->resting(); }

    // Yields to wait before the next advance.
    long wait() const { return wait_; }

    // Does what is due once the wait is over: ends the calibration, then
    // takes the shot's next advance.
    void advance();

    // Advances with no waiting until the pieces rest.
    void finish();

    int nextPiece() const { return shot_->nextPiece(); }
    const ShotInPlay& shot() const { return *shot_; }

private:
    void endCalibration();
    void followContacts();

    ShotInPlay* shot_;
    Platform* clockSource_;
    StepPace* pace_;
    std::size_t eventsSeen_;  // the events the pace has followed
    bool calibrating_ = false;
    double calibrationStart_ = 0;
    long wait_ = 0;
};

}  // namespace capzel
