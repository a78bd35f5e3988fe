#include "controls/PacedShot.h"

namespace capzel {

PacedShot::PacedShot(ShotInPlay& shot, Platform& clockSource, StepPace& pace)
    : shot_(&shot), clockSource_(&clockSource), pace_(&pace), eventsSeen_(shot.events().size()) {
    // The launch comes first; the calibration is timed from here.
    if (shot_->resting()) return;
    calibrating_ = true;
    calibrationStart_ = clockSource_->clock();
    wait_ = kCalibrationYields;
}

void PacedShot::advance() {
    endCalibration();
    const bool runaway = shot_->result().cycles > kPacedShotCycles;
    for (int k = 0; k < (runaway ? kBatchAdvances : 1) && !shot_->resting(); ++k) shot_->advance();
    followContacts();
    wait_ = shot_->resting() ? 0 : runaway ? 1 : pace_->yields();
}

void PacedShot::finish() {
    endCalibration();
    while (!shot_->resting()) shot_->advance();
    followContacts();
    wait_ = 0;
}

void PacedShot::endCalibration() {
    if (!calibrating_) return;
    calibrating_ = false;
    pace_->calibrateShot(clockSource_->clock() - calibrationStart_);
}

// The delay follows the shot's new pairs in the order they touched.
void PacedShot::followContacts() {
    const ShotEvents& events = shot_->events();
    for (; eventsSeen_ < events.size(); ++eventsSeen_)
        if (events[eventsSeen_].kind == ShotEventKind::Contact) pace_->contact(events[eventsSeen_].moving);
}

}  // namespace capzel
