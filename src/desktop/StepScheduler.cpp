#include "desktop/StepScheduler.h"

#include <QApplication>
#include <QPointer>

#include "controls/SteppedRun.h"
#include "model/Pace.h"

namespace capzel::ui {

StepScheduler::StepScheduler(SteppedRun& run, QObject* parent) : QObject(parent), run_(&run) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &StepScheduler::due);
}

void StepScheduler::start() {
    if (!run_->running() || active()) return;
    deadline_ = Clock::now() + waitOf(run_->wait());
    schedule();
}

// Only a shot (or its replay) runs fast: the power bar keeps its pace.
bool StepScheduler::fastNow() const { return fast_ && run_->shotUnderWay(); }

StepScheduler::Clock::duration StepScheduler::waitOf(long yields) const {
    const auto normal = yields * kYield;
    if (fastNow()) return normal / kFastFactor;
    // The bar's speed measurement times the machine itself: it is never
    // stretched, or the bar would pick another pace band.
    if (steady_ && yields != kCalibrationYields && charging && charging()) return normal * kSteadyFactor;
    return normal;
}

void StepScheduler::schedule() {
    if (!run_->running()) return;
    using namespace std::chrono;
    const auto left = deadline_ - Clock::now();
    const auto ms = left <= nanoseconds::zero() ? 0 : duration_cast<milliseconds>(left + milliseconds(1) - nanoseconds(1)).count();
    timer_.start(int(ms));
}

void StepScheduler::due() {
    if (telling_ || !run_->running()) return;
    if (QApplication::activeModalWidget() != nullptr) {
        timer_.start(int(kModalRetry.count()));
        return;
    }
    Clock::time_point now = Clock::now();
    if (now - deadline_ > kStallLimit) deadline_ = now;

    QPointer<StepScheduler> alive(this);
    bool advanced = false;
    bool ended = false;
    int batch = 0;
    const auto news = [this] { return hasNews && hasNews(); };
    while (run_->running() && (deadline_ <= now || (fastNow() && batch % kFastFactor != 0))) {
        if (run_->advance() == GameFlow::Ended) ended = true;
        advanced = true;
        ++batch;
        if (!run_->running() || news()) break;
        deadline_ += waitOf(run_->wait());
    }
    // The field is drawn where the advances left it before anything is told.
    if (advanced && onAdvanced) onAdvanced();
    if (!alive) return;
    if (ended || news()) {
        telling_ = true;
        QTimer::singleShot(0, this, [this, ended] {
            QPointer<StepScheduler> alive(this);
            if (onNews) onNews(ended);
            if (!alive) return;
            telling_ = false;
            start();
        });
        return;
    }
    schedule();
}

}  // namespace capzel::ui
