#include "controls/TurnController.h"

#include <algorithm>
#include <utility>

#include "controls/Aiming.h"
#include "controls/Announcing.h"
#include "model/GameSnapshot.h"
#include "model/Numbers.h"
#include "rules/Progression.h"
#include "rules/ShotJudging.h"

namespace capzel {

TurnPhase TurnController::phase() const {
    if (!announcements_.empty()) return TurnPhase::Judging;
    if (std::holds_alternative<ReplayRun>(run_)) return TurnPhase::Replaying;
    if (std::holds_alternative<ChargeRun>(run_)) return TurnPhase::Charging;
    if (std::holds_alternative<PacedShot>(run_)) return TurnPhase::Shooting;
    if (!ctx_.g.gameRunning) return TurnPhase::GameOver;
    return ctx_.board().pointer.visible ? TurnPhase::Aiming : TurnPhase::Idle;
}

void TurnController::mouseMove(int buttons, int shift, float x, float y) {
    // The field shown during a replay is the copy's: no aiming on it.
    if (replay() != nullptr) return;
    const int seat = ctx_.g.currentTurn;
    const Box before = ctx_.g.isPlayer(seat) ? ctx_.piece(seat) : Box{};
    handleMouseMove(ctx_, controls_.aimLabel, buttons, shift, x, y);
    if (ctx_.g.isPlayer(seat)) {
        const Box& after = ctx_.piece(seat);
        if (after.left != before.left || after.top != before.top) placedByHand_ = true;
    }
}

void TurnController::mouseUp() {
    GameState& g = ctx_.g;
    // A release while the bar is already charging is ignored: the running
    // charge goes on, so one press of "Go" plays at most one shot.
    if (!g.gameRunning || g.shotInProgress || controls_.charging || running()) return;
    PowerBar& bar = controls_.powerBar;
    const int rows = powerBarRows();
    controls_.charging = true;
    g.power = std::int16_t(rows);
    bar.clear();
    bar.box.visible = true;
    controls_.goButton.box.visible = true;
    run_.emplace<ChargeRun>(ctx_, controls_, rows, pace_);
}

void TurnController::showBarAt(std::optional<int> level) {
    if (running()) return;
    PowerBar& bar = controls_.powerBar;
    bar.clear();
    bar.box.visible = level.has_value();
    if (level) bar.drawRows(std::clamp(*level, 0, powerBarRows()), powerBarRows(), 50, int(bar.scaleWidth()) - 50);
}

void TurnController::goClicked() {
    controls_.charging = false;
    controls_.goButton.box.visible = false;
}

long TurnController::wait() const {
    if (const auto* charge = std::get_if<ChargeRun>(&run_)) return charge->wait();
    if (const auto* shot = std::get_if<PacedShot>(&run_)) return shot->wait();
    if (const auto* again = std::get_if<ReplayRun>(&run_)) return again->wait();
    return 0;
}

GameFlow TurnController::advance() {
    if (auto* charge = std::get_if<ChargeRun>(&run_)) {
        charge->advance();
        if (charge->done()) fire();
        return GameFlow::Continues;
    }
    if (auto* shot = std::get_if<PacedShot>(&run_)) {
        shot->advance();
        ++shotAdvances_;
        sounds_.hear(shotEvents_);
        if (shot->done()) return judge();
    }
    if (auto* again = std::get_if<ReplayRun>(&run_)) {
        again->advance();
        if (again->done()) run_.emplace<std::monostate>();
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
    // The start of the shot is kept for a replay and for taking it back.
    last_.emplace();
    last_->startState = g;
    last_->startField = ctx_.field;
    last_->startControls = controls_;
    last_->placedByHand = std::exchange(placedByHand_, false);
    shotAdvances_ = 0;
    shotEvents_.clear();
    sounds_.newShot();
    run_.emplace<PacedShot>(ctx_, pace_, shotEvents_);
}

// The pieces rest: the bar goes away and the rules judge the shot.
GameFlow TurnController::judge() {
    GameState& g = ctx_.g;
    run_.emplace<std::monostate>();
    controls_.powerBar.clear();
    controls_.powerBar.box.visible = false;
    g.power = 0;
    // The shooter's own target sounds as its judging finds it (a killer has none).
    const bool inTarget = inNextTarget(ctx_) && !g.isKiller[g.currentTurn];
    Judgement judged = judgeFinishedShot(ctx_);
    sounds_.judged(inTarget, std::any_of(judged.announcements.begin(), judged.announcements.end(),
                                         [](const Announcement& a) { return a.kind == AnnouncementKind::Win; }));
    bringForward(judged);
    g.shotInProgress = false;
    ++judgedShots_;
    if (last_) {
        last_->judged = true;
        last_->announcements = judged.announcements;
        last_->judgedHash = stateHash(captureSnapshot(g, ctx_.field));
    }
    for (Announcement& a : judged.announcements) announcements_.push_back(std::move(a));
    return judged.flow;
}

void TurnController::announcementTold() {
    if (!announcements_.empty()) announcements_.erase(announcements_.begin());
}

std::vector<Announcement> TurnController::takeAnnouncements() {
    std::vector<Announcement> out;
    out.swap(announcements_);
    return out;
}

void TurnController::gameChangedByCommand() {
    if (shot() && last_) last_->changes.push_back({shotAdvances_, ctx_.g, ctx_.field});
}

void TurnController::drop() {
    // The game is being replaced: its last shot goes with it, and so does
    // what its judging had still to tell.
    last_.reset();
    placedByHand_ = false;
    announcements_.clear();
    const bool wasRunning = running() && replay() == nullptr;
    run_.emplace<std::monostate>();
    if (!wasRunning) return;
    controls_.charging = false;
    ctx_.g.shotInProgress = false;
    Field& f = ctx_.field;
    f.velocityX.fill(0);
    f.velocityY.fill(0);
    clearBoardControls();
}

void TurnController::clearBoardControls() {
    ctx_.board().pointer.visible = false;
    controls_.powerBar.clear();
    controls_.powerBar.box.visible = false;
    controls_.goButton.box.visible = false;
}

void TurnController::bringForward(const Judgement& judgement) { capzel::bringForward(controls_.order, judgement); }

void TurnController::bringGuidesForward() {
    for (int g = 0; g < kGuideCount; ++g) controls_.order.raiseGuide(g);
    controls_.order.raisePointer();
}

bool TurnController::cancel() {
    const TurnPhase now = phase();
    if (now != TurnPhase::Aiming && now != TurnPhase::Charging) return false;
    run_.emplace<std::monostate>();
    controls_.charging = false;
    ctx_.g.power = 0;
    clearBoardControls();
    return true;
}

bool TurnController::canUndo() const {
    return last_ && last_->judged && ctx_.g.gameRunning && !running() && phase() != TurnPhase::Judging;
}

bool TurnController::undo() {
    if (!canUndo()) return false;
    restoreShotStart(*last_, ctx_.g, ctx_.field);
    last_.reset();
    placedByHand_ = false;
    controls_.charging = false;
    clearBoardControls();
    return true;
}

bool TurnController::canReplay() const {
    return last_ && last_->judged && !running() && phase() != TurnPhase::Judging;
}

bool TurnController::startReplay() {
    if (!canReplay()) return false;
    run_.emplace<ReplayRun>(*last_, ctx_.ui, pace_);
    return true;
}

}  // namespace capzel
