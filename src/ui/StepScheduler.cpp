#include "ui/StepScheduler.h"

#include <QApplication>
#include <QPointer>

#include "controls/TurnController.h"

namespace capzel::ui {

StepScheduler::StepScheduler(TurnController& turn, QObject* parent) : QObject(parent), turn_(turn) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &StepScheduler::due);
}

void StepScheduler::start() {
    if (!turn_.running() || active()) return;
    deadline_ = Clock::now() + waitOf(turn_.wait());
    schedule();
}

// Only a shot (or its replay) runs fast: the power bar keeps its pace.
bool StepScheduler::fastNow() const { return fast_ && (turn_.shot() != nullptr || turn_.replay() != nullptr); }

StepScheduler::Clock::duration StepScheduler::waitOf(long yields) const {
    const auto normal = yields * kYield;
    return fastNow() ? normal / kFastFactor : normal;
}

void StepScheduler::schedule() {
    if (!turn_.running()) return;
    using namespace std::chrono;
    const auto left = deadline_ - Clock::now();
    const auto ms = left <= nanoseconds::zero() ? 0 : duration_cast<milliseconds>(left + milliseconds(1) - nanoseconds(1)).count();
    timer_.start(int(ms));
}

void StepScheduler::due() {
    if (inAdvance_ || !turn_.running()) return;
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
    inAdvance_ = true;
    while (turn_.running() && (deadline_ <= now || (fastNow() && batch % kFastFactor != 0))) {
        // Judging a finished shot shows the rules' messages from in here.
        if (turn_.advance() == GameFlow::Ended) ended = true;
        if (!alive) return;
        advanced = true;
        ++batch;
        if (!turn_.running()) break;
        deadline_ += waitOf(turn_.wait());
    }
    inAdvance_ = false;
    if (advanced && onAdvanced) onAdvanced();
    if (ended && onGameEnded) onGameEnded();
    if (!alive) return;
    schedule();
}

}  // namespace capzel::ui
