// A shot at the window's pace. The shot in play (rules/ShotInPlay.h) has
// been launched; the first wait is the speed calibration (kCalibrationYields
// yields timed with the platform's clock), which gives the pace its delay
// for a shot; every later wait is the pace's yields before one piece's
// step. Each pair that touches for the first time shortens the delay by
// the pieces it found moving.
//
// A shot still moving after kPacedShotCycles cycles (a friction of 100, or
// a game a hostile server sent) is no shot of a real game: the rest of it
// goes in batches of kBatchAdvances advances, a yield between two, so that
// it ends (at rest, or at the engine's cycle limit) within about a second
// more rather than after many minutes at the pace. Only the showing
// changes: the shot takes the same steps.
#pragma once

#include <cstddef>

#include "model/Pace.h"
#include "platform/Platform.h"
#include "rules/ShotInPlay.h"

namespace capzel {

// Three times the cycles of the longest shot of a real game (a lone piece
// rests within 320 cycles at the lowest friction a new game gives): at the
// slowest pace, 18 seconds.
inline constexpr long kPacedShotCycles = 1'000;

class PacedShot {
public:
    // The shot, the clock and the pace must outlive the run.
    PacedShot(ShotInPlay& shot, Platform& clockSource, StepPace& pace);

    // The pieces rest: the shot waits to be judged.
    bool done() const { return shot_->resting(); }

    // Advances in one go once the shot is past kPacedShotCycles.
    static constexpr int kBatchAdvances = 2'000;

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
