#include "controls/PacedShot.h"

namespace capzel {

namespace {

ShotOptions reportingTo(ShotOptions options, ShotEvents& events) {
    options.events = &events;
    return options;
}

}  // namespace

PacedShot::PacedShot(const GameContext& ctx, StepPace& pace, ShotEvents& events, ShotOptions options)
    : run_(ctx, reportingTo(options, events)), clockSource_(ctx.ui), pace_(pace), events_(events),
      eventsSeen_(events.size()) {
    // The launch comes first; the calibration is timed from here.
    if (run_.done()) return;
    calibrating_ = true;
    calibrationStart_ = clockSource_.clock();
    wait_ = kCalibrationYields;
}

void PacedShot::advance() {
    endCalibration();
    run_.advance();
    followContacts();
    wait_ = run_.done() ? 0 : pace_.yields();
}

void PacedShot::finish() {
    endCalibration();
    run_.finish();
    followContacts();
    wait_ = 0;
}

void PacedShot::endCalibration() {
    if (!calibrating_) return;
    calibrating_ = false;
    pace_.calibrateShot(clockSource_.clock() - calibrationStart_);
}

// The delay follows the shot's new pairs in the order they touched.
void PacedShot::followContacts() {
    for (; eventsSeen_ < events_.size(); ++eventsSeen_)
        if (events_[eventsSeen_].kind == ShotEventKind::Contact) pace_.contact(events_[eventsSeen_].moving);
}

}  // namespace capzel
