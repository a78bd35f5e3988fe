// The pace at which a window drives the turn's runs (the power bar's charge,
// a shot, a shot shown from another computer), as arithmetic on time alone:
// a run's waits are counted in yields of a fixed length, an advance is due
// when the time has passed its deadline, and the run's clock reads the
// deadline of the advance under way. Given the same run and the same
// elapsed times, the same advances happen at the same moments, whatever
// drives them: a browser's animation frames, a desktop window's timer, or
// a test that hands out time by the millisecond.
//
// Fast forward cuts every wait of a shot to an eighth; the charge keeps its
// pace, and its speed measurement is never stretched. A steady bar runs its
// ticks at half speed. Only the waits change, so a shot ends exactly where
// it would at normal pace.
#pragma once

#include <cstdint>
#include <functional>

#include "controls/SteppedRun.h"

namespace capzel {

struct RunPacing {
    // The length of one yield of a run's waits, in nanoseconds.
    static constexpr std::int64_t kYieldNanoseconds = 3000;
    static constexpr int kFastFactor = 8;
    static constexpr int kSteadyFactor = 2;
    // Behind the deadline by more than this (a stall, a hidden page): the
    // next advance is due now and the deadlines start afresh from it, with
    // no race to catch up.
    static constexpr std::int64_t kStallLimitNanoseconds = 50'000'000;

    bool fast = false;    // fast forward asked for
    bool steady = false;  // the steady power bar asked for

    // How long `yields` wait: `shot` while a shot (or its replay) is what
    // advances, `charging` while the bar charges.
    std::int64_t waitOf(long yields, bool shot, bool charging) const;
};

// What one stretch of time did to the run.
struct PacedAdvances {
    int advances = 0;
    bool ended = false;  // an advance ended the game
    bool news = false;   // an advance left something to tell: the run waits until it is told
};

// Drives one run at a time by elapsed time. Between two stretches of time
// the caller handles input and tells what the rules announced; start()
// after input that may have started a run times its first wait from now.
class RunDriver {
public:
    RunPacing pacing;
    // While the run charges the bar (for the steady bar's pace).
    std::function<bool()> charging;

    // Nanoseconds since the driver began.
    std::int64_t now() const { return now_; }
    // The clock the run reads, in seconds: the deadline of the advance under
    // way, or now between advances.
    double clockSeconds() const { return double(at_) / 1e9; }

    // Starts timing `run` from now, when it runs and is not timed yet.
    void start(SteppedRun& run);
    // Time moves on by `elapsedNanoseconds` (negative counts as none); every
    // advance of `run` that falls due is done, in order, until the run ends
    // or `hasNews`, asked after each advance with the run's clock still at
    // that advance, says it left something to tell. At most `maxAdvances`
    // in one stretch; the rest are due at the next.
    PacedAdvances elapse(std::int64_t elapsedNanoseconds, SteppedRun& run, const std::function<bool()>& hasNews,
                         int maxAdvances = 1'000'000);
    // Whether a run is being timed (it was started and has not ended or
    // stopped for news).
    bool active() const { return active_; }
    // Forgets the run being timed (it was dropped, or another takes over).
    void stop() { active_ = false; }

private:
    std::int64_t waitOf(const SteppedRun& run) const;

    const SteppedRun* timed_ = nullptr;
    bool active_ = false;
    std::int64_t now_ = 0;
    std::int64_t at_ = 0;
    std::int64_t deadline_ = 0;
};

}  // namespace capzel
