// A shot at the window's pace. The shot is launched at once; the first wait
// is the speed calibration (kCalibrationYields yields timed with the
// platform's clock), which gives the pace its delay for a shot; every later
// wait is the pace's yields before one piece's step. Each pair that touches
// for the first time shortens the delay by the pieces it found moving.
#pragma once

#include <cstddef>

#include "engine/ShotRun.h"
#include "model/Pace.h"

namespace capzel {

class PacedShot {
public:
    // Launches the shot of ShotRun. What the shot reports is added to
    // `events`; the pace and the events must outlive the run.
    PacedShot(const GameContext& ctx, StepPace& pace, ShotEvents& events, ShotOptions options = {});

    bool done() const { return run_.done(); }

    // Yields to wait before the next advance.
    long wait() const { return wait_; }

    // Does what is due once the wait is over: ends the calibration, then
    // takes the shot's next advance.
    void advance();

    // Advances with no waiting until done, as a run with nobody watching.
    void finish();

    int nextPiece() const { return run_.nextPiece(); }
    const ShotResult& result() const { return run_.result(); }

private:
    void endCalibration();
    void followContacts();

    ShotRun run_;
    Platform& clockSource_;
    StepPace& pace_;
    const ShotEvents& events_;
    std::size_t eventsSeen_;  // the events the pace has followed
    bool calibrating_ = false;
    double calibrationStart_ = 0;
    long wait_ = 0;
};

}  // namespace capzel
