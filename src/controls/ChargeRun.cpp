#include "controls/ChargeRun.h"

#include "controls/Aiming.h"
#include "model/Numbers.h"
#include "model/PowerBarScale.h"

namespace capzel {

namespace {

constexpr double kPause = 0.1;  // seconds the bar waits at a full and at a fresh fill

}  // namespace

ChargeRun::ChargeRun(Platform& clockSource, BoardControls& controls, int rows, StepPace& pace)
    : clock_(clockSource), controls_(&controls), rows_(rows), pace_(pace) {
    clockMark_ = clock_.clock();
}

void ChargeRun::advance() {
    switch (stage_) {
    case Stage::Calibrating:
        pace_.calibrateBar(clock_.clock() - clockMark_);
        loopTop();
        return;
    case Stage::LoopTop:
        loopTop();
        return;
    case Stage::Tick:
        tick();
        return;
    case Stage::PauseAtTop:
    case Stage::PauseAtStart:
        pause(stage_);
        return;
    case Stage::Done:
        return;
    }
}

// The top of the charge loop: ends once "Go" cleared Charging, otherwise
// waits the pace's yields before the next tick.
void ChargeRun::loopTop() {
    if (!controls_->charging) {
        stage_ = Stage::Done;
        wait_ = 0;
        return;
    }
    stage_ = Stage::Tick;
    wait_ = pace_.yields();
}

// One tick: the level rises by ten twips and its rows are drawn, unless
// the level lies in a gap above a mark.
void ChargeRun::tick() {
    int& level = controls_->barLevel;
    level -= kBarTick;
    if (!levelInGap(level, rows_)) {
        PowerBar& bar = controls_->powerBar;
        bar.drawRows(level - kBarTick, level, 50, int(bar.scaleWidth()) - 50);
    }
    if (level + kBarTick < 0) {
        clockMark_ = clock_.clock();
        pause(Stage::PauseAtTop);
    } else if (level == rows_ - kBarTick) {
        clockMark_ = clock_.clock();
        pause(Stage::PauseAtStart);
    } else {
        stage_ = Stage::LoopTop;
        wait_ = 1;
    }
}

// Waits 0.1 s by yielding once at a time. The clock restarts at midnight: a
// clock that went backwards counts as the wait being over.
void ChargeRun::pause(Stage stage) {
    const double now = clock_.clock();
    if (now - kPause > clockMark_ || now < clockMark_) {
        afterPause(stage == Stage::PauseAtTop);
        return;
    }
    stage_ = stage;
    wait_ = 1;
}

// After a pause "Go" fires at once; otherwise a full bar starts again from
// empty.
void ChargeRun::afterPause(bool restart) {
    if (!controls_->charging) {
        stage_ = Stage::Done;
        wait_ = 0;
        return;
    }
    if (restart) {
        controls_->powerBar.clear();
        controls_->barLevel = rows_;
    }
    stage_ = Stage::LoopTop;
    wait_ = 1;
}

}  // namespace capzel
