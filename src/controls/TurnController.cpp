#include "controls/TurnController.h"

#include <algorithm>
#include <utility>

#include "controls/Announcing.h"
#include "model/PowerBarScale.h"

namespace capzel {

TurnController::TurnController(Match& match, Platform& ui) : match_(&match), ui_(&ui), sounds_(ui) {}

TurnPhase TurnController::phase() const {
    if (!announcements_.empty()) return TurnPhase::Judging;
    if (std::holds_alternative<ShotReplay>(run_)) return TurnPhase::Replaying;
    if (std::holds_alternative<ChargeRun>(run_)) return TurnPhase::Charging;
    if (std::holds_alternative<PacedShot>(run_)) return TurnPhase::Shooting;
    if (!match_->game().gameRunning) return TurnPhase::GameOver;
    return pending_.aim.visible ? TurnPhase::Aiming : TurnPhase::Idle;
}

void TurnController::mouseMove(int buttons, int shift, float x, float y) {
    // The field shown during a replay is the copy's: no aiming on it.
    if (replay() != nullptr || shot() != nullptr) return;
    handleMouseMove(match_->game(), pending_, controls_.aimLabel, buttons, shift, x, y);
}

void TurnController::showAim(const Line& aim, const std::optional<HandPlacement>& placement) {
    pending_.aim = aim;
    pending_.placement = placement;
}

void TurnController::mouseUp() {
    const Game& g = match_->game();
    // A release while the bar is already charging is ignored: the running
    // charge goes on, so one press of "Go" plays at most one shot.
    if (!g.gameRunning || g.shotInProgress || controls_.charging || running()) return;
    PowerBar& bar = controls_.powerBar;
    const int rows = powerBarRows();
    controls_.charging = true;
    controls_.barLevel = rows;
    bar.clear();
    bar.box.visible = true;
    controls_.goButton.box.visible = true;
    run_.emplace<ChargeRun>(*ui_, controls_, rows, pace_);
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
    if (const auto* paced = std::get_if<PacedShot>(&run_)) return paced->wait();
    if (const auto* again = std::get_if<ShotReplay>(&run_)) return again->wait();
    return 0;
}

GameFlow TurnController::advance() {
    if (auto* charge = std::get_if<ChargeRun>(&run_)) {
        charge->advance();
        if (charge->done()) fireCharge();
        return GameFlow::Continues;
    }
    if (auto* paced = std::get_if<PacedShot>(&run_)) {
        paced->advance();
        sounds_.hear(paced->shot().events());
        if (paced->done()) return judge();
    }
    if (auto* again = std::get_if<ShotReplay>(&run_)) {
        again->advance();
        if (again->done()) run_.emplace<std::monostate>();
    }
    return GameFlow::Continues;
}

ShotCommand TurnController::pendingShot(std::int16_t strength) const {
    const Game& g = match_->game();
    ShotCommand shot;
    shot.seat = g.currentTurn;
    shot.x1 = pending_.aim.x1;
    shot.y1 = pending_.aim.y1;
    shot.x2 = pending_.aim.x2;
    shot.y2 = pending_.aim.y2;
    shot.strength = strength;
    shot.placement = pending_.placement;
    return shot;
}

// The strength is the field's height less the level reached. Without an aim
// since the last shot nothing is fired and the bar stays as drawn.
void TurnController::fireCharge() {
    run_.emplace<std::monostate>();
    if (!pending_.aim.visible) return;
    fire(pendingShot(strengthAtGo(match_->game().board.scaleHeight, controls_.barLevel)));
}

std::optional<Refusal> TurnController::fire(const ShotCommand& shot) {
    if (std::holds_alternative<PacedShot>(run_) || std::holds_alternative<ShotReplay>(run_))
        return Refusal{RefusalCode::ShotUnderWay, "A shot is under way."};
    std::optional<Refusal> refused;
    ShotInPlay* inPlay = match_->launch(shot, &refused);
    if (!inPlay) return refused;
    run_.emplace<std::monostate>();
    // A shot launched ends the charge as "Go" does, whoever pressed it: the
    // button goes too (a shot shown as another computer played it left it up).
    controls_.charging = false;
    controls_.goButton.box.visible = false;
    pending_ = PendingShot{};
    launchControls_ = controls_;
    replayable_ = false;
    sounds_.newShot();
    run_.emplace<PacedShot>(*inPlay, *ui_, pace_);
    return std::nullopt;
}

// The pieces rest: the bar goes away and the rules judge the shot.
GameFlow TurnController::judge() {
    run_.emplace<std::monostate>();
    controls_.powerBar.clear();
    controls_.powerBar.box.visible = false;
    Outcome judged = match_->finishShot();
    const bool won = std::any_of(judged.announcements.begin(), judged.announcements.end(),
                                 [](const Announcement& a) { return a.kind == AnnouncementKind::Win; });
    sounds_.judged(judged.shooterInTarget, won);
    bringForward(judged);
    ++judgedShots_;
    replayable_ = true;
    lastEvents_ = std::move(judged.events);
    for (Announcement& a : judged.announcements) announcements_.push_back(std::move(a));
    return judged.flow;
}

const ShotEvents& TurnController::shotEvents() const {
    if (const PacedShot* paced = shot()) return paced->shot().events();
    return lastEvents_;
}

void TurnController::announcementTold() {
    if (!announcements_.empty()) announcements_.erase(announcements_.begin());
}

std::vector<Announcement> TurnController::takeAnnouncements() {
    std::vector<Announcement> out;
    out.swap(announcements_);
    return out;
}

void TurnController::drop() {
    // The game is being replaced: what its judging had still to tell goes
    // with it, and so does the replay of its last shot.
    replayable_ = false;
    announcements_.clear();
    if (shot() != nullptr) match_->dropShot();
    run_.emplace<std::monostate>();
    controls_.charging = false;
    pending_ = PendingShot{};
    clearBoardControls();
}

void TurnController::gameChanged() {
    replayable_ = replayable_ && match_->lastShot() != nullptr;
    if (std::holds_alternative<ChargeRun>(run_)) run_.emplace<std::monostate>();
    controls_.charging = false;
    pending_ = PendingShot{};
    clearBoardControls();
}

void TurnController::clearBoardControls() {
    pending_.aim.visible = false;
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
    clearBoardControls();
    return true;
}

bool TurnController::canReplay() const {
    return replayable_ && match_->lastShot() != nullptr && !running() && phase() != TurnPhase::Judging;
}

bool TurnController::startReplay() {
    if (!canReplay()) return false;
    run_.emplace<ShotReplay>(*match_->gameAtLastLaunch(), *match_->lastShot(), launchControls_, *ui_, pace_);
    return true;
}

Game TurnController::shownGame() const {
    if (const ShotReplay* again = replay()) return again->game();
    Game shown = match_->game();
    const int seat = shown.currentTurn;
    if (pending_.placement && shown.isPlayer(seat)) {
        shown.piece(seat).left = pending_.placement->left;
        shown.piece(seat).top = pending_.placement->top;
    }
    if (!shown.shotInProgress) {
        Line& aim = shown.board.pointer;
        aim.x1 = pending_.aim.x1;
        aim.y1 = pending_.aim.y1;
        aim.x2 = pending_.aim.x2;
        aim.y2 = pending_.aim.y2;
        aim.visible = pending_.aim.visible;
    }
    return shown;
}

}  // namespace capzel
