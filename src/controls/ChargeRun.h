// The power bar's charge as a run of ticks. The bar fills from the bottom,
// ten twips of level per tick, waits 0.1 s when a fill starts and when it
// has passed the top, and starts again from empty, until "Go" clears
// Charging. Like a shot, the run tells after each advance how many yields
// of the window's pace the next one waits; the first wait is the bar's own
// speed calibration (10,000 yields timed with the platform's clock).
#pragma once

#include "platform/Platform.h"
#include "model/Pace.h"
#include "model/WindowState.h"

namespace capzel {

class ChargeRun {
public:
    // Starts a charge on a bar of `rows` inner rows: the caller has set
    // Charging, put the bar's level at `rows` and shown the empty bar. The
    // calibration, timed with `clockSource`'s clock, sets the delay of
    // `pace` before each tick.
    ChargeRun(Platform& clockSource, BoardControls& controls, int rows, StepPace& pace);

    // True once "Go" has ended the charge: the strength is ready to fire.
    bool done() const { return stage_ == Stage::Done; }

    // Yields to wait before the next advance (0: none).
    long wait() const { return wait_; }

    // Does what is due once the wait is over: one tick of the bar, one look
    // at the clock during a pause, or the test of whether "Go" was pressed.
    void advance();

private:
    enum class Stage { Calibrating, LoopTop, Tick, PauseAtTop, PauseAtStart, Done };

    void loopTop();
    void tick();
    void pause(Stage stage);
    void afterPause(bool restart);

    Platform& clock_;
    BoardControls* controls_;
    int rows_;
    StepPace& pace_;
    Stage stage_ = Stage::Calibrating;
    long wait_ = kCalibrationYields;
    double clockMark_ = 0;  // start of the calibration or of a pause
};

}  // namespace capzel
