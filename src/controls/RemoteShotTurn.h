// A shot played at another computer of an online game, shown at this board
// the way its player played it: the piece put where it was put by hand, the
// aim line drawn out, the power bar charged to the shot's strength and "Go",
// then the shot itself through the turn, paced as any shot. The shot is
// fired through the rulebook exactly as it was played there, whatever the
// bar showed, so it ends here where it ended at the server, to the bit.
//
// Driven like the computer's turn (controls/ComputerTurn.h): by the window's
// clock, or by a plain loop with nobody watching.
#pragma once

#include <optional>
#include <utility>

#include "controls/SteppedRun.h"
#include "controls/ShownShot.h"
#include "controls/TurnController.h"
#include "model/Command.h"

namespace capzel {

struct RemoteShotPace {
    double aimSeconds = 0.4;
    double holdSeconds = 0.2;
    // How long the bar charges for a strength between or past its levels
    // (a computer's), which it never passes.
    double unreachedChargeSeconds = 0.8;
    long pollYields = 10000;
};

class RemoteShotTurn final : public SteppedRun {
public:
    enum class Stage { Aiming, Holding, Charging, Shooting, Done };

    // Starts showing `shot` when it is the turn's seat's and nothing runs;
    // otherwise the run is over before it starts.
    RemoteShotTurn(TurnController& turn, Platform& clock, const ShotCommand& shot,
                   const RemoteShotPace& pace = RemoteShotPace());

    bool running() const override { return stage_ != Stage::Done; }
    long wait() const override;
    GameFlow advance() override;
    bool shotUnderWay() const override { return stage_ == Stage::Shooting && turn_.shotUnderWay(); }
    Stage stage() const { return stage_; }

    // Ends the run where it stands, a charge or a shot of it with it.
    void drop();

    // Why the rulebook did not take the shot when it was fired (a server
    // that sends what no player could play), once: nothing while it is
    // shown, once it was taken, or once told.
    std::optional<Refusal> takeRefusal() { return std::exchange(refusal_, std::nullopt); }

private:
    void aim();
    void hold();
    GameFlow charge();
    GameFlow shoot();
    void putAim(double fraction);

    void fireShot();

    TurnController& turn_;
    Platform& clock_;
    ShotCommand shot_;
    std::optional<Refusal> refusal_;
    RemoteShotPace pace_;
    Stage stage_ = Stage::Done;
    double mark_ = 0;
    int barTarget_ = 0;  // the bar's level that launches at the shot's strength
    bool barPassesTarget_ = true;
};

}  // namespace capzel
