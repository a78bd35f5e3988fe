#include "ui/YieldPacer.h"

namespace capzel::ui {

void YieldPacer::yield(long count) {
    if (count < 1) return;
    Clock::time_point now = hooks_.now();
    if (!started_ || now - deadline() > kStallLimit) {
        origin_ = now;
        owed_ = 0;
        started_ = true;
    }
    owed_ += count;
    sinceEvents_ += count;
    if (sinceEvents_ >= kYieldsPerEventPass) {
        sinceEvents_ = 0;
        hooks_.processEvents();
        now = hooks_.now();
    }
    const Clock::time_point due = deadline();
    if (due - now > kWaitThreshold) hooks_.waitUntil(due);
}

}  // namespace capzel::ui
