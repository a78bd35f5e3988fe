#include "controls/RemoteShotTurn.h"

#include "model/Numbers.h"
#include "model/WindowState.h"

namespace capzel {


RemoteShotTurn::RemoteShotTurn(TurnController& turn, const GameContext& ctx, const RecordedShot& shot,
                               const RemoteShotPace& pace)
    : turn_(turn), ctx_(ctx), shot_(shot), pace_(pace) {
    const GameState& g = ctx_.g;
    if (!g.gameRunning || g.currentTurn != shot_.seat || !g.isPlayer(shot_.seat) || turn_.running()) return;
    // The launch turns the bar's level into the strength: the bar's height
    // less the level.
    barTarget_ = std::int16_t(roundHalfEven(double(ctx_.board().scaleHeight) - double(shot_.power)));
    // The bar passes the levels ten twips apart from its top row down to
    // nothing; a level it never passes (a computer's strongest shots) is
    // shown after a short charge.
    const int rows = powerBarRows();
    barPassesTarget_ = barTarget_ >= 0 && barTarget_ <= rows && (rows - barTarget_) % 10 == 0;
    if (shot_.placement) {
        Box& piece = ctx_.board().pieces[shot_.seat];
        piece.left = shot_.placement->left;
        piece.top = shot_.placement->top;
    }
    mark_ = ctx_.ui.clock();
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
// the way.
void RemoteShotTurn::putAim(double fraction) {
    Line& aim = ctx_.board().pointer;
    aim.x1 = shot_.x1;
    aim.y1 = shot_.y1;
    aim.x2 = shot_.x2;
    aim.y2 = shot_.y2;
    if (fraction < 1) {
        aim.x2 = float(double(shot_.x1) + fraction * (double(shot_.x2) - double(shot_.x1)));
        aim.y2 = float(double(shot_.y1) + fraction * (double(shot_.y2) - double(shot_.y1)));
    }
    aim.visible = true;
}

void RemoteShotTurn::aim() {
    const double f = pace_.aimSeconds > 0 ? secondsSince(ctx_, mark_) / pace_.aimSeconds : 1;
    putAim(f);
    if (f >= 1) {
        mark_ = ctx_.ui.clock();
        stage_ = Stage::Holding;
    }
}

void RemoteShotTurn::hold() {
    if (secondsSince(ctx_, mark_) < pace_.holdSeconds) return;
    putAim(1);
    turn_.mouseUp();
    mark_ = ctx_.ui.clock();
    if (turn_.running()) {
        stage_ = Stage::Charging;
        return;
    }
    // No bar to charge: the shot goes at once, as the server played it.
    putAim(1);
    ctx_.g.power = shot_.power;
    turn_.startShot();
    stage_ = turn_.shot() ? Stage::Shooting : Stage::Done;
}

// The bar charges until it reaches the shot's level (or, for a level it
// never passes, until it has had its time); then the shot goes with
// the aim line and the strength put on the board exactly as the server put
// them, whatever tick the bar was at.
GameFlow RemoteShotTurn::charge() {
    const GameFlow flow = turn_.advance();
    GameState& g = ctx_.g;
    const bool due = barPassesTarget_ ? g.power == barTarget_ : secondsSince(ctx_, mark_) > pace_.unreachedChargeSeconds;
    if (turn_.charging() && due) {
        turn_.cancel();
        putAim(1);
        g.power = shot_.power;
        turn_.startShot();
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
    if (stage_ == Stage::Aiming || stage_ == Stage::Holding) ctx_.board().pointer.visible = false;
    stage_ = Stage::Done;
}

}  // namespace capzel
