#include "rules/ShotInPlay.h"

#include <utility>

#include "engine/Settlement.h"
#include "engine/ShotRun.h"
#include "platform/SilentPlatform.h"
#include "rules/HiddenCommands.h"
#include "rules/Progression.h"
#include "rules/ShotJudging.h"

namespace capzel {

void putShotInputs(Game& g, const ShotCommand& shot) {
    if (shot.placement && g.isPlayer(shot.seat)) {
        g.piece(shot.seat).left = shot.placement->left;
        g.piece(shot.seat).top = shot.placement->top;
    }
    Line& aim = g.board.pointer;
    aim.x1 = shot.x1;
    aim.y1 = shot.y1;
    aim.x2 = shot.x2;
    aim.y2 = shot.y2;
    aim.visible = false;
    g.shotInProgress = true;
}

namespace {

ShotOptions runOptions(ShotEvents& events) {
    ShotOptions options;
    options.maxCycles = kMaxShotCycles;
    options.events = &events;
    return options;
}

}  // namespace

// Kept in one place for the whole shot: the engine's run holds the context
// and the events by address.
struct ShotInPlay::Run {
    Run(Game& game, std::int16_t strength) : ctx{game, silent}, engine(ctx, strength, runOptions(events)) {}
    SilentPlatform silent;
    ShotEvents events;
    GameContext ctx;
    ShotRun engine;
};

ShotInPlay::ShotInPlay(Game& game, ShotCommand shot) : game_(game), shot_(std::move(shot)) {
    putShotInputs(game_, shot_);
    run_ = std::make_unique<Run>(game_, shot_.strength);
}

ShotInPlay::~ShotInPlay() = default;
ShotInPlay::ShotInPlay(ShotInPlay&&) noexcept = default;

bool ShotInPlay::resting() const { return run_->engine.done(); }

int ShotInPlay::nextPiece() const { return run_->engine.nextPiece(); }

void ShotInPlay::advance() {
    if (resting()) return;
    for (; nextCommand_ < shot_.midShot.size() && shot_.midShot[nextCommand_].advance <= advances_; ++nextCommand_)
        runHiddenCommand(game_, shot_.midShot[nextCommand_].command);
    run_->engine.advance();
    ++advances_;
    // Pieces that never rest are stopped where the cycle limit found them,
    // and the board is settled as after any shot.
    if (run_->engine.done() && run_->engine.result().unfinished) {
        game_.velocityX.fill(0);
        game_.velocityY.fill(0);
        engine::settleShot(run_->ctx);
    }
}

const ShotEvents& ShotInPlay::events() const { return run_->events; }
const ShotResult& ShotInPlay::result() const { return run_->engine.result(); }

Judgement ShotInPlay::runCommand(const HiddenCommand& command) { return runHiddenCommand(game_, command); }

Outcome ShotInPlay::judge() {
    Game& g = game_;
    GameContext& ctx = run_->ctx;
    g.launchStrength = 0;
    Outcome out;
    out.shooterInTarget = g.isPlayer(g.currentTurn) && !g.seat(g.currentTurn).isKiller && inNextTarget(ctx);
    static_cast<Judgement&>(out) = judgeFinishedShot(ctx);
    g.shotInProgress = false;
    out.events = std::move(run_->events);
    out.hash = g.hash();
    return out;
}

Outcome ShotInPlay::finish() {
    while (!resting()) advance();
    return judge();
}

}  // namespace capzel
