#include "controls/RemoteShotTurn.h"

#include "model/PowerBarScale.h"

namespace capzel {

RemoteShotTurn::RemoteShotTurn(TurnController& turn, Platform& clock, const ShotCommand& shot,
                               const RemoteShotPace& pace)
    : turn_(turn), clock_(clock), shot_(shot), pace_(pace) {
    const Game& g = turn_.match().game();
    if (!g.gameRunning || g.currentTurn != shot_.seat || !g.isPlayer(shot_.seat) || turn_.running()) return;
    // The bar passes the levels a tick apart from its top row down to
    // nothing; a level it never passes (a computer's strongest shots) is
    // shown after a short charge.
    barTarget_ = levelForStrength(g.board.scaleHeight, shot_.strength);
    barPassesTarget_ = chargeReachesLevel(barTarget_);
    mark_ = clock_.clock();
    stage_ = Stage::Aiming;
    aim();
}

long RemoteShotTurn::wait() const { return shownShotWait(stage_, turn_, pace_.pollYields); }

GameFlow RemoteShotTurn::advance() {
    switch (stage_) {
    case Stage::Aiming: aim(); break;
    case Stage::Holding: hold(); break;
    case Stage::Charging: return charge();
    case Stage::Shooting: return shoot();
    case Stage::Done: break;
    }
    return GameFlow::Continues;
}

// The aim line from its first end out towards its second, `fraction` of
// the way, with the piece where its player placed it.
void RemoteShotTurn::putAim(double fraction) {
    Line aim;
    aim.x1 = shot_.x1;
    aim.y1 = shot_.y1;
    aim.x2 = shot_.x2;
    aim.y2 = shot_.y2;
    if (fraction < 1) {
        aim.x2 = float(double(shot_.x1) + fraction * (double(shot_.x2) - double(shot_.x1)));
        aim.y2 = float(double(shot_.y1) + fraction * (double(shot_.y2) - double(shot_.y1)));
    }
    aim.visible = true;
    turn_.showAim(aim, shot_.placement);
}

void RemoteShotTurn::aim() {
    const double f = pace_.aimSeconds > 0 ? secondsSince(clock_, mark_) / pace_.aimSeconds : 1;
    putAim(f);
    if (f >= 1) {
        mark_ = clock_.clock();
        stage_ = Stage::Holding;
    }
}

void RemoteShotTurn::hold() {
    if (secondsSince(clock_, mark_) < pace_.holdSeconds) return;
    putAim(1);
    turn_.mouseUp();
    mark_ = clock_.clock();
    if (turn_.running()) {
        stage_ = Stage::Charging;
        return;
    }
    // No bar to charge: the shot goes at once, as the server played it.
    fireShot();
}

// The shot as it was played, whatever tick the bar was at. A shot the
// rulebook refuses leaves nothing behind: no aim, no bar still charging.
void RemoteShotTurn::fireShot() {
    refusal_ = turn_.fire(shot_);
    if (refusal_) turn_.cancel();
    stage_ = turn_.shot() ? Stage::Shooting : Stage::Done;
}

// The bar charges until it reaches the shot's level (or, for a level it
// never passes, until it has had its time); then the shot goes.
GameFlow RemoteShotTurn::charge() {
    const GameFlow flow = turn_.advance();
    const bool due = barPassesTarget_ ? turn_.controls().barLevel == barTarget_
                                      : secondsSince(clock_, mark_) > pace_.unreachedChargeSeconds;
    if (turn_.charging() && due) {
        fireShot();
        return flow;
    }
    if (turn_.shot() != nullptr)
        stage_ = Stage::Shooting;
    else if (!turn_.running())
        stage_ = Stage::Done;
    return flow;
}

GameFlow RemoteShotTurn::shoot() {
    const GameFlow flow = turn_.advance();
    if (!turn_.running()) stage_ = Stage::Done;
    return flow;
}

void RemoteShotTurn::drop() {
    if (stage_ == Stage::Charging || stage_ == Stage::Shooting) turn_.drop();
    if (stage_ == Stage::Aiming || stage_ == Stage::Holding) turn_.cancel();
    stage_ = Stage::Done;
}

}  // namespace capzel
