// Drives a turn's runs as the window's clock does, over the fake platform's yields.
#pragma once

#include <functional>
#include <vector>

#include "controls/TurnController.h"
#include "support/FakePlatform.h"

namespace capzel::test {

// Tells what the judging announced, one message each, as the window does once an advance has returned.
inline void tell(TurnController& turn, FakePlatform& ui) {
    while (turn.hasAnnouncements()) {
        ui.message(turn.nextAnnouncement().text);
        turn.announcementTold();
    }
}

// Advances the run (the turn's own or a computer's) as the window's clock does: waits, advances, tells the
// announcements, then lets `between` act; a gone window drops the run. Gives the turn's phases as they changed.
inline std::vector<TurnPhase> drive(SteppedRun& run, TurnController& turn, FakePlatform& ui,
                                    const std::function<void()>& between = {}) {
    std::vector<TurnPhase> phases{turn.phase()};
    while (run.running()) {
        const long wait = run.wait();
        if (wait > 0 && !ui.yield(wait)) {
            turn.drop();
            break;
        }
        if (run.running()) run.advance();
        tell(turn, ui);
        if (between) between();
        if (phases.back() != turn.phase()) phases.push_back(turn.phase());
    }
    return phases;
}
inline void drive(TurnController& turn, FakePlatform& ui) { drive(turn, turn, ui); }

// A match of `start` and its turn at a board of the scripted platform `Ui`, as a session opens one.
template <class Ui = FakePlatform>
struct TurnTable {
    explicit TurnTable(const Game& start) : match(start) {}
    Ui ui;
    Match match;
    TurnController turn{match, ui};
    const Game& game() const { return match.game(); }
};

}  // namespace capzel::test
