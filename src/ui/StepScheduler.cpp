#include "ui/StepScheduler.h"

#include <QApplication>
#include <QPointer>

#include "controls/SteppedRun.h"

namespace capzel::ui {

StepScheduler::StepScheduler(SteppedRun& run, QObject* parent) : QObject(parent), run_(&run) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &StepScheduler::due);
}

void StepScheduler::start() {
    if (!run_->running() || active()) return;
    deadline_ = Clock::now() + run_->wait() * kYield;
    schedule();
}

void StepScheduler::schedule() {
    if (!run_->running()) return;
    using namespace std::chrono;
    const auto left = deadline_ - Clock::now();
    const auto ms = left <= nanoseconds::zero() ? 0 : duration_cast<milliseconds>(left + milliseconds(1) - nanoseconds(1)).count();
    timer_.start(int(ms));
}

void StepScheduler::due() {
    if (inAdvance_ || !run_->running()) return;
    if (QApplication::activeModalWidget() != nullptr) {
        timer_.start(int(kModalRetry.count()));
        return;
    }
    Clock::time_point now = Clock::now();
    if (now - deadline_ > kStallLimit) deadline_ = now;

    QPointer<StepScheduler> alive(this);
    bool advanced = false;
    bool ended = false;
    inAdvance_ = true;
    while (run_->running() && deadline_ <= now) {
        // Judging a finished shot shows the rules' messages from in here.
        if (run_->advance() == GameFlow::Ended) ended = true;
        if (!alive) return;
        advanced = true;
        if (!run_->running()) break;
        deadline_ += run_->wait() * kYield;
    }
    inAdvance_ = false;
    if (advanced && onAdvanced) onAdvanced();
    if (ended && onGameEnded) onGameEnded();
    if (!alive) return;
    schedule();
}

}  // namespace capzel::ui
