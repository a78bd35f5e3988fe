#include "controls/ComputerTurn.h"

#include "controls/Aiming.h"

namespace capzel {

bool computerToPlay(const Game& g) {
    return g.gameRunning && g.isPlayer(g.currentTurn) && g.seats[g.currentTurn].kind != PlayerKind::Human;
}

ComputerTurn::ComputerTurn(TurnController& turn, Platform& clock, std::uint64_t seed,
                           const players::PlannerOptions& options, const ComputerPace& pace)
    : turn_(turn), clock_(clock), seed_(seed), options_(options), pace_(pace) {
    if (computerToPlay(game()) && !turn_.running()) startPlanning();
}

void ComputerTurn::startPlanning() {
    const Game& g = game();
    job_ = std::make_unique<players::PlanJob>(g, g.seats[g.currentTurn].kind, seed_, options_);
    stage_ = Stage::Thinking;
}

long ComputerTurn::wait() const { return shownShotWait(stage_, turn_, pace_.pollYields); }

GameFlow ComputerTurn::advance() {
    switch (stage_) {
    case Stage::Thinking: think(); break;
    case Stage::Aiming: aim(); break;
    case Stage::Holding: hold(); break;
    case Stage::Charging: return charge();
    case Stage::Shooting: return shoot();
    case Stage::Done: break;
    }
    return GameFlow::Continues;
}

// Waits for the plan. A plan for a game that has changed meanwhile (a
// hidden command moved a piece or passed the turn) is thrown away and the
// thinking starts again on the game as it now stands, unless the turn has
// gone to a person.
void ComputerTurn::think() {
    if (!job_->ready()) return;
    if (!computerToPlay(game()) || turn_.running()) {
        job_.reset();
        stage_ = Stage::Done;
        return;
    }
    if (!job_->stillFits(game())) {
        job_.reset();
        startPlanning();
        return;
    }
    shot_ = job_->result().shot;
    job_.reset();
    player_ = game().currentTurn;
    const Box& piece = game().piece(player_);
    fromX_ = players::aimStartX(piece);
    fromY_ = players::aimStartY(piece);
    mark_ = clock_.clock();
    stage_ = Stage::Aiming;
    aim();
}

// Whether the game still stands as planned while the computer aims: its
// turn, its piece where it was. A load or a hidden command may have changed
// it; the aim then goes away and the turn is over (the window looks again
// whose turn it now is).
bool ComputerTurn::stillAiming() const {
    const Game& g = game();
    if (!computerToPlay(g) || g.currentTurn != player_ || turn_.running()) return false;
    const Box& piece = g.piece(player_);
    return players::aimStartX(piece) == fromX_ && players::aimStartY(piece) == fromY_;
}

// The mouse point moves out from the piece to the aim point, the aim line
// following it as it does for a person dragging.
void ComputerTurn::aim() {
    if (!stillAiming()) {
        turn_.cancel();
        stage_ = Stage::Done;
        return;
    }
    const double f = pace_.aimSeconds > 0 ? secondsSince(clock_, mark_) / pace_.aimSeconds : 1;
    float x = shot_.aimX, y = shot_.aimY;
    if (f < 1) {
        x = float(double(fromX_) + f * (double(shot_.aimX) - double(fromX_)));
        y = float(double(fromY_) + f * (double(shot_.aimY) - double(fromY_)));
    }
    turn_.mouseMove(kLeftButton, 0, x, y);
    if (f >= 1) {
        mark_ = clock_.clock();
        stage_ = Stage::Holding;
    }
}

// After a moment with the aim shown, the button goes up and the bar starts.
void ComputerTurn::hold() {
    if (!stillAiming()) {
        turn_.cancel();
        stage_ = Stage::Done;
        return;
    }
    if (secondsSince(clock_, mark_) < pace_.holdSeconds) return;
    turn_.mouseUp();
    stage_ = turn_.running() ? Stage::Charging : Stage::Done;
}

// The bar charges; the computer presses "Go" on the tick that brings it to
// the level of its chosen strength.
GameFlow ComputerTurn::charge() {
    const GameFlow flow = turn_.advance();
    if (turn_.charging() && turn_.controls().barLevel == barLevel(shot_.barTicks)) turn_.goClicked();
    if (turn_.shot() != nullptr)
        stage_ = Stage::Shooting;
    else if (!turn_.running())
        stage_ = Stage::Done;
    return flow;
}

GameFlow ComputerTurn::shoot() {
    const GameFlow flow = turn_.advance();
    if (!turn_.running()) stage_ = Stage::Done;
    return flow;
}

void ComputerTurn::drop() {
    job_.reset();
    if (stage_ == Stage::Charging || stage_ == Stage::Shooting) turn_.drop();
    stage_ = Stage::Done;
}

}  // namespace capzel
