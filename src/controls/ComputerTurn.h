// A computer's turn at the board, played the way a person plays it: the
// computer thinks (the planner runs on a thread of its own), draws the aim
// line from its piece out to the point it aims at, holds it a moment,
// releases the button, and presses "Go" when the power bar reaches the
// strength it chose. The shot and its judging are the turn controller's,
// exactly as after a person's "Go": the shot goes through the rulebook with
// the aim line the computer drew and the strength of the bar's level.
//
// It is a run: the window's clock drives it as it drives the turn's own
// runs, and a plain loop can drive it with nobody watching. Its pauses are
// measured on the platform's clock, so the turn takes the same few seconds
// whatever the pace of the steps.
#pragma once

#include <cstdint>
#include <memory>

#include "controls/SteppedRun.h"
#include "controls/ShownShot.h"
#include "controls/TurnController.h"
#include "players/PlanJob.h"
#include "players/PlannedShot.h"
#include "players/Planner.h"

namespace capzel {

// True when the seat of the player whose turn it is belongs to the
// computer, in a running game.
bool computerToPlay(const Game& g);

// How a computer's turn shows itself: the aim line is drawn out over
// aimSeconds and held for holdSeconds before the bar starts; between two
// looks at the clock the run waits pollYields.
struct ComputerPace {
    double aimSeconds = 0.7;
    double holdSeconds = 0.5;
    long pollYields = 10000;
};

class ComputerTurn final : public SteppedRun {
public:
    enum class Stage { Thinking, Aiming, Holding, Charging, Shooting, Done };

    // Starts thinking for the player whose turn it is, when that seat is the
    // computer's; otherwise the run is over before it starts. `seed` draws
    // the computer's misses.
    ComputerTurn(TurnController& turn, Platform& clock, std::uint64_t seed,
                 const players::PlannerOptions& options = {}, const ComputerPace& pace = ComputerPace());

    bool running() const override { return stage_ != Stage::Done; }
    long wait() const override;
    GameFlow advance() override;
    bool shotUnderWay() const override { return stage_ == Stage::Shooting && turn_.shotUnderWay(); }

    Stage stage() const { return stage_; }

    // The shot being played, once the thinking is over.
    const players::PlannedShot& shot() const { return shot_; }

    // Ends the turn where it stands (its game is replaced or its window
    // closes): the thinking stops, and a charge or a shot of this turn is
    // dropped with it.
    void drop();

private:
    void think();
    void aim();
    void hold();
    GameFlow charge();
    GameFlow shoot();
    void startPlanning();
    bool stillAiming() const;

    const Game& game() const { return turn_.match().game(); }

    TurnController& turn_;
    Platform& clock_;
    std::uint64_t seed_;
    players::PlannerOptions options_;
    ComputerPace pace_;
    Stage stage_ = Stage::Done;
    std::unique_ptr<players::PlanJob> job_;
    players::PlannedShot shot_;
    int player_ = 0;               // whose shot it is, once planned
    float fromX_ = 0, fromY_ = 0;  // the piece's centre, where the aim line starts
    double mark_ = 0;              // clock at the start of the aim or the hold
};

}  // namespace capzel
