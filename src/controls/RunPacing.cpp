#include "controls/RunPacing.h"

#include "model/Pace.h"

namespace capzel {

std::int64_t RunPacing::waitOf(long yields, bool shot, bool charging) const {
    const std::int64_t normal = std::int64_t(yields) * kYieldNanoseconds;
    if (fast && shot) return normal / kFastFactor;
    // The bar's speed measurement times the machine itself: it is never
    // stretched, or the bar would pick another pace band.
    if (steady && charging && yields != kCalibrationYields) return normal * kSteadyFactor;
    return normal;
}

std::int64_t RunDriver::waitOf(const SteppedRun& run) const {
    return pacing.waitOf(run.wait(), run.shotUnderWay(), charging && charging());
}

void RunDriver::start(SteppedRun& run) {
    if (active_ && timed_ == &run) return;
    if (!run.running()) return;
    timed_ = &run;
    active_ = true;
    at_ = now_;
    deadline_ = now_ + waitOf(run);
}

PacedAdvances RunDriver::elapse(std::int64_t elapsedNanoseconds, SteppedRun& run, const std::function<bool()>& hasNews,
                                int maxAdvances) {
    PacedAdvances done;
    if (elapsedNanoseconds > 0) now_ += elapsedNanoseconds;
    at_ = now_;
    if (timed_ != &run) active_ = false;
    if (!active_) start(run);
    if (!active_) return done;
    if (now_ - deadline_ > RunPacing::kStallLimitNanoseconds) deadline_ = now_;
    while (run.running() && deadline_ <= now_ && done.advances < maxAdvances) {
        at_ = deadline_;
        if (run.advance() == GameFlow::Ended) done.ended = true;
        ++done.advances;
        done.news = hasNews && hasNews();
        if (!run.running() || done.news) break;
        deadline_ += waitOf(run);
    }
    at_ = now_;
    // Once told, the run goes on one wait from that moment, as a window's
    // clock does after its boxes close.
    if (!run.running() || done.news) active_ = false;
    return done;
}

}  // namespace capzel
