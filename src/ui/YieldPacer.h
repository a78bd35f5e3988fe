// The pace of the game's counted yields. The shot and the power bar pace
// themselves only by counting yields, and their calibrations expect each
// yield to cost a few microseconds. A bare pass over pending events costs
// about one, and a loop of them keeps a core busy. So every yield adds one
// fixed quantum to a time debt measured against an absolute deadline
// (start + quanta owed); pending events are handled about every 50 yields'
// worth; once the debt passes about a millisecond it is waited off while
// events that arrive meanwhile are still handled. Time spent handling events
// (a paint, a menu command) counts towards the debt, so it is not paid twice.
// After a long stall (a modal box, an idle spell between shots) the deadline
// starts afresh instead of racing to catch up.
#pragma once

#include <chrono>
#include <functional>

namespace capzel::ui {

class YieldPacer {
public:
    using Clock = std::chrono::steady_clock;

    // The cost of one yield.
    static constexpr std::chrono::nanoseconds kQuantum{3000};
    // A debt above this is waited off.
    static constexpr std::chrono::nanoseconds kWaitThreshold{1'000'000};
    // Behind the deadline by more than this: start a new deadline.
    static constexpr std::chrono::nanoseconds kStallLimit{50'000'000};
    // Pending events are handled once per this many yields.
    static constexpr long kYieldsPerEventPass = 50;

    struct Hooks {
        std::function<Clock::time_point()> now;
        // Handle the pending events once.
        std::function<void()> processEvents;
        // Return at the deadline, handling events that arrive meanwhile.
        std::function<void(Clock::time_point deadline)> waitUntil;
    };

    explicit YieldPacer(Hooks hooks) : hooks_(std::move(hooks)) {}

    // Pays for `count` yields (nothing for a count below 1).
    void yield(long count);

    // The moment by which every yield paid so far is due.
    Clock::time_point deadline() const { return origin_ + owed_ * kQuantum; }

private:
    Hooks hooks_;
    Clock::time_point origin_{};
    long long owed_ = 0;      // quanta owed since origin_
    long sinceEvents_ = 0;    // yields since events were last handled
    bool started_ = false;
};

}  // namespace capzel::ui
