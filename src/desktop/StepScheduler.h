// Drives the turn's runs (the power bar's charge, the shot, a computer's
// whole turn) from the main window's clock: one timer, set to the absolute
// moment at which the next advance is due. A run's waits are counted in
// yields of a fixed length, so a shot and a bar fill take the time they
// were made for, and the program sleeps in between instead of spinning.
//
// Input, menu commands and repaints run between two advances, from the
// window's own event loop. What the rules announced in an advance is told
// once the clock's tick has returned, never from inside an advance; until
// it has been told, nothing advances. While a modal box is open (a
// command's question, a rule's message) the run waits, as the player does;
// afterwards it goes on from where it was, without racing to catch up.
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

namespace capzel {
class SteppedRun;
}

namespace capzel::ui {

class StepScheduler : public QObject {
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;

    // The length of one yield of a run's waits.
    static constexpr std::chrono::nanoseconds kYield{3000};
    // Behind the deadline by more than this (a stall, a modal box): the
    // next advance is due now and the deadlines start afresh from it.
    static constexpr std::chrono::milliseconds kStallLimit{50};
    // How often a run held by a modal box looks whether the box has gone.
    static constexpr std::chrono::milliseconds kModalRetry{20};

    StepScheduler(SteppedRun& run, QObject* parent);

    // Drives another run from now on (a computer's turn, and the turn's own
    // runs again afterwards); the one driven before is no longer touched.
    void drive(SteppedRun& run) { run_ = &run; }

    // Starts driving the turn's run, if one is under way and not yet driven
    // (after input that may have started one).
    void start();

    // Stops driving (the window goes away; its run is dropped with it).
    void stop() { timer_.stop(); }

    bool active() const { return timer_.isActive() || telling_; }

    // Fast forward of a shot: every wait is cut to an eighth and the steps
    // come in batches of eight, so the field is repainted once per eight
    // steps. Only the waits change, so the shot ends exactly as at normal
    // pace. The power bar's charge keeps its pace.
    static constexpr int kFastFactor = 8;
    void setFast(bool fast) { fast_ = fast; }
    bool fast() const { return fast_; }

    // A steady power bar: while the bar charges (`charging`), its waits run
    // doubled, so it fills at half speed. Where the bar stops is still the
    // level at "Go", so no result depends on the pace.
    static constexpr int kSteadyFactor = 2;
    void setSteadyCharge(bool steady) { steady_ = steady; }
    std::function<bool()> charging;

    // How long `yields` of the run under way wait at the current pace.
    Clock::duration waitOf(long yields) const;

    // After every batch of advances (the field and the status to repaint).
    std::function<void()> onAdvanced;
    // Whether an advance left announcements to tell.
    std::function<bool()> hasNews;
    // Called from the event loop after a tick whose advances left
    // announcements or ended the game: tells them, then (when `ended`)
    // shows the high scores. The run goes on afterwards.
    std::function<void(bool ended)> onNews;

private:
    void due();
    void schedule();
    bool fastNow() const;

    SteppedRun* run_;
    QTimer timer_;
    Clock::time_point deadline_{};
    bool telling_ = false;
    bool fast_ = false;
    bool steady_ = false;
};

}  // namespace capzel::ui
