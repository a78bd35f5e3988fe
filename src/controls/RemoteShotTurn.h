// A shot played at another computer of an online game, shown at this board
// the way its player played it: the piece put where it was put by hand, the
// aim line drawn out, the power bar charged to the shot's strength and "Go",
// then the shot itself through the turn, paced as any shot. The aim line and
// the strength are put on the board exactly as they were at the launch, so
// the shot ends here where it ended at the server, to the bit.
//
// Driven like the computer's turn (controls/ComputerTurn.h): by the window's
// clock, or by a plain loop with nobody watching.
#pragma once

#include "controls/SteppedRun.h"
#include "controls/ShownShot.h"
#include "controls/TurnController.h"
#include "model/GameContext.h"
#include "records/GameRecord.h"

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
    RemoteShotTurn(TurnController& turn, const GameContext& ctx, const RecordedShot& shot,
                   const RemoteShotPace& pace = RemoteShotPace());

    bool running() const override { return stage_ != Stage::Done; }
    long wait() const override;
    GameFlow advance() override;
    bool shotUnderWay() const override { return stage_ == Stage::Shooting && turn_.shotUnderWay(); }
    Stage stage() const { return stage_; }

    // Ends the run where it stands, a charge or a shot of it with it.
    void drop();

private:
    void aim();
    void hold();
    GameFlow charge();
    GameFlow shoot();
    void putAim(double fraction);

    TurnController& turn_;
    GameContext ctx_;
    RecordedShot shot_;
    RemoteShotPace pace_;
    Stage stage_ = Stage::Done;
    double mark_ = 0;
    std::int16_t barTarget_ = 0;  // the bar's level that launches at the shot's strength
    bool barPassesTarget_ = true;
};

}  // namespace capzel
