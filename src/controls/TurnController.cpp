#include "controls/TurnController.h"

#include "controls/Aiming.h"
#include "model/Numbers.h"
#include "rules/ShotJudging.h"

namespace capzel {

TurnPhase TurnController::phase() const {
    if (judging_) return TurnPhase::Judging;
    if (std::holds_alternative<ChargeRun>(run_)) return TurnPhase::Charging;
    if (std::holds_alternative<ShotRun>(run_)) return TurnPhase::Shooting;
    if (!ctx_.g.gameRunning) return TurnPhase::GameOver;
    return ctx_.board().pointer.visible ? TurnPhase::Aiming : TurnPhase::Idle;
}

void TurnController::mouseMove(int buttons, int shift, float x, float y) {
    handleMouseMove(ctx_, buttons, shift, x, y);
}

void TurnController::mouseUp() {
    GameState& g = ctx_.g;
    // A release while the bar is already charging is ignored: the running
    // charge goes on, so one press of "Go" plays at most one shot.
    if (!g.gameRunning || g.shotInProgress || g.charging || running()) return;
    Board& b = ctx_.board();
    PowerBar& bar = b.powerBar;
    const int rows = int(roundHalfEven(bar.scaleHeight()));
    g.charging = true;
    g.power = std::int16_t(rows);
    bar.clear();
    bar.box.visible = true;
    b.goButton.box.visible = true;
    run_.emplace<ChargeRun>(ctx_, rows);
}

void TurnController::goClicked() {
    if (ctx_.g.charging) ctx_.g.charging = false;
    ctx_.board().goButton.box.visible = false;
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
    GameState& g = ctx_.g;
    Board& b = ctx_.board();
    run_.emplace<std::monostate>();
    g.power = std::int16_t(roundHalfEven(double(b.scaleHeight) - double(g.power)));
    if (!b.pointer.visible) return;
    startShot();
}

void TurnController::startShot() {
    GameState& g = ctx_.g;
    if (!g.gameRunning || g.shotInProgress || running()) return;
    ctx_.board().pointer.visible = false;
    g.shotInProgress = true;
    run_.emplace<ShotRun>(ctx_);
}

// The pieces rest: the bar goes away and the rules judge the shot.
GameFlow TurnController::judge() {
    GameState& g = ctx_.g;
    Board& b = ctx_.board();
    run_.emplace<std::monostate>();
    b.powerBar.clear();
    b.powerBar.box.visible = false;
    g.power = 0;
    judging_ = true;
    const GameFlow flow = judgeFinishedShot(ctx_);
    judging_ = false;
    g.shotInProgress = false;
    return flow;
}

void TurnController::drop() {
    const bool wasRunning = running();
    run_.emplace<std::monostate>();
    if (!wasRunning) return;
    ctx_.g.charging = false;
    ctx_.g.shotInProgress = false;
    Field& f = ctx_.field;
    f.velocityX.fill(0);
    f.velocityY.fill(0);
    Board& b = f.board;
    b.pointer.visible = false;
    b.powerBar.clear();
    b.powerBar.box.visible = false;
    b.goButton.box.visible = false;
}

}  // namespace capzel
