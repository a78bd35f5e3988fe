#include "controls/TurnController.h"

#include "controls/Aiming.h"
#include "model/Numbers.h"

namespace capzel {

TurnPhase TurnController::phase() const {
    if (judging_) return TurnPhase::Judging;
    if (std::holds_alternative<ChargeRun>(run_)) return TurnPhase::Charging;
    if (std::holds_alternative<ShotRun>(run_)) return TurnPhase::Shooting;
    if (!ctx_.g.GameRunning) return TurnPhase::GameOver;
    return ctx_.board().Pointer.Visible ? TurnPhase::Aiming : TurnPhase::Idle;
}

void TurnController::mouseMove(int buttons, int shift, float x, float y) {
    Form_MouseMove(ctx_, buttons, shift, x, y);
}

void TurnController::mouseUp() {
    modCapzel& g = ctx_.g;
    // A release while the bar is already charging is ignored: the running
    // charge goes on, so one press of "Go" plays at most one shot.
    if (!g.GameRunning || g.ShotInProgress || g.Charging || running()) return;
    Board& b = ctx_.board();
    PowerBar& bar = b.picPower;
    const int rows = int(roundHalfEven(bar.ScaleHeight()));
    g.Charging = true;
    g.Power = std::int16_t(rows);
    bar.clear();
    bar.box.Visible = true;
    b.cmdGo.box.Visible = true;
    run_.emplace<ChargeRun>(ctx_, rows);
}

void TurnController::goClicked() {
    if (ctx_.g.Charging) ctx_.g.Charging = false;
    ctx_.board().cmdGo.box.Visible = false;
}

long TurnController::wait() const {
    if (const auto* charge = std::get_if<ChargeRun>(&run_)) return charge->wait();
    if (const auto* shot = std::get_if<ShotRun>(&run_)) return shot->wait();
    return 0;
}

GameFlow TurnController::advance() {
    if (auto* charge = std::get_if<ChargeRun>(&run_)) {
        charge->advance();
        if (charge->done()) fire();
        return GameFlow::Continues;
    }
    if (auto* shot = std::get_if<ShotRun>(&run_)) {
        shot->advance();
        if (shot->done()) return judge();
    }
    return GameFlow::Continues;
}

// The strength is the window's inner height less the level reached. Without
// an aim since the last shot nothing is fired and the bar stays as drawn.
void TurnController::fire() {
    modCapzel& g = ctx_.g;
    Board& b = ctx_.board();
    run_.emplace<std::monostate>();
    g.Power = std::int16_t(roundHalfEven(double(b.ScaleHeight) - double(g.Power)));
    if (!b.Pointer.Visible) return;
    startShot();
}

void TurnController::startShot() {
    modCapzel& g = ctx_.g;
    if (!g.GameRunning || g.ShotInProgress || running()) return;
    ctx_.board().Pointer.Visible = false;
    g.ShotInProgress = true;
    run_.emplace<ShotRun>(ctx_);
}

// The pieces rest: the bar goes away and the rules judge the shot.
GameFlow TurnController::judge() {
    modCapzel& g = ctx_.g;
    Board& b = ctx_.board();
    run_.emplace<std::monostate>();
    b.picPower.clear();
    b.picPower.box.Visible = false;
    g.Power = 0;
    judging_ = true;
    const GameFlow flow = judgeFinishedShot(ctx_);
    judging_ = false;
    g.ShotInProgress = false;
    return flow;
}

void TurnController::drop() {
    const bool wasRunning = running();
    run_.emplace<std::monostate>();
    if (!wasRunning) return;
    ctx_.g.Charging = false;
    ctx_.g.ShotInProgress = false;
    Field& f = ctx_.field;
    f.VelocityX.fill(0);
    f.VelocityY.fill(0);
    Board& b = f.board;
    b.Pointer.Visible = false;
    b.picPower.clear();
    b.picPower.box.Visible = false;
    b.cmdGo.box.Visible = false;
}

}  // namespace capzel
