#include "engine/ShotRun.h"

#include <cmath>

#include "engine/Assign.h"
#include "engine/ContactPass.h"
#include "engine/Launch.h"
#include "engine/Settlement.h"
#include "engine/WallPass.h"
#include "model/Numbers.h"

namespace capzel {

namespace {

int playerCount(const GameState& g) {
    return g.numberOfPlayers < kMaxPlayers ? int(g.numberOfPlayers) : kMaxPlayers;
}

// The yields before one step: the whole part of stepDelay, none below 1.
long yieldsPerStep(double stepDelay) {
    if (!(stepDelay >= 1)) return 0;
    constexpr double kMost = 1e15;  // far beyond any delay the game sets
    return long(std::floor(stepDelay < kMost ? stepDelay : kMost));
}

// Piece i takes a step in this cycle: it is in the game and moves along x,
// or it moves along y.
bool steps(const GameState& g, const Field& f, int i) {
    return (g.inGame[i] && engine::movingPart(f.velocityX[i])) || engine::movingPart(f.velocityY[i]);
}

// The board's edges, read afresh at every test: a piece that crosses one is
// put flush against it and sent back with 90 % of its speed across it.
inline void boardEdges(const Board& board, Box& p, float& vx, float& vy) {
    if (fsum(p.left, p.width) > board.rightLine.x1) {
        engine::assignFloat(p.left, double(board.rightLine.x1) - double(p.width));
        engine::assignFloat(vx, -0.9 * std::fabs(double(vx)));
    }
    if (p.left < board.leftLine.x1) {
        p.left = board.leftLine.x1;
        engine::assignFloat(vx, 0.9 * std::fabs(double(vx)));
    }
    if (fsum(p.top, p.height) > board.scaleHeight) {
        engine::assignFloat(p.top, double(board.scaleHeight) - double(p.height));
        engine::assignFloat(vy, -0.9 * std::fabs(double(vy)));
    }
    if (p.top < 0) {
        p.top = 0;
        engine::assignFloat(vy, 0.9 * std::fabs(double(vy)));
    }
}

// Direction, strength, velocities, counters. A pointer of zero length has no
// direction: the shooter gets no velocity, so nothing moves and the
// settlement runs at once, as for a shot of strength 0.
void launch(GameState& g, Field& f) {
    engine::Direction dir;
    engine::aimDirection(f.board.pointer, dir);
    g.power = engine::strengthCurve(g.power);
    const double dx = dir.dx * double(g.power) / 80.0;
    const double dy = dir.dy * double(g.power) / 80.0;
    for (int i = 1; i <= playerCount(g); ++i) {
        f.velocityX[i] = 0;
        f.velocityY[i] = 0;
    }
    f.velocityX[g.currentTurn] = float(dx / 75.0);
    f.velocityY[g.currentTurn] = float(dy / 75.0);
    g.hitCount = 0;
    g.sentCount = 0;
    g.killCount = 0;
    g.hitFirst.fill(0);
    g.hitSecond.fill(0);
}

// One step of piece i: it moves by its velocity, bounces off the board's
// edges and the walls, touches the other pieces, and loses speed by its
// owner's friction.
void stepPiece(GameContext& ctx, int i) {
    GameState& g = ctx.g;
    Field& f = ctx.field;
    Box& p = f.board.pieces[i];
    float& vx = f.velocityX[i];
    float& vy = f.velocityY[i];
    engine::assignFloat(p.left, double(p.left) + double(vx));
    engine::assignFloat(p.top, double(p.top) + double(vy));
    boardEdges(f.board, p, vx, vy);
    engine::wallPass(ctx, i);
    engine::contactPass(ctx, i);
    const double keep = double(g.friction[i]);
    engine::assignFloat(vx, double(vx) * keep / 100.0);
    engine::assignFloat(vy, double(vy) * keep / 100.0);
}

}  // namespace

ShotRun::ShotRun(const GameContext& ctx, const ShotOptions& options) : ctx_(ctx), options_(options) {
    GameState& g = ctx_.g;
    if (g.currentTurn < 1 || g.currentTurn > playerCount(g)) return;
    launch(g, ctx_.field);
    calibrationStart_ = ctx_.ui.clock();
    wait_ = kCalibrationYields;
    stage_ = Stage::Calibrating;
}

void ShotRun::advance() {
    switch (stage_) {
    case Stage::Calibrating:
        // A fast machine gets the long delay.
        ctx_.field.stepDelay = engine::calibratedStepDelay(ctx_.ui.clock() - calibrationStart_);
        stage_ = Stage::Stepping;
        piece_ = 0;
        seekNextStep();
        return;
    case Stage::Stepping:
        ++result_.steps;
        anyStep_ = true;
        stepPiece(ctx_, piece_);
        seekNextStep();
        return;
    case Stage::Done:
        return;
    }
}

void ShotRun::finish() {
    if (stage_ == Stage::Calibrating) advance();
    // The passes get a copy of the context, so that this run's own values
    // stay out of their reach and the loop keeps them at hand.
    GameContext ctx = ctx_;
    while (stage_ == Stage::Stepping) {
        ++result_.steps;
        anyStep_ = true;
        stepPiece(ctx, piece_);
        seekNextStep(false);
    }
}

// Goes on from the piece stepped last to the next one that steps, ending
// cycles (and with them the main loop) on the way; `timed` also works out
// the wait before that step (a run with nobody watching has none). Every piece is tested
// when its turn in the cycle comes, so values changed during a wait count.
void ShotRun::seekNextStep(bool timed) {
    const GameState& g = ctx_.g;
    const Field& f = ctx_.field;
    const int n = playerCount(g);
    for (;;) {
        if (piece_ == 0) {
            if (over_) {
                engine::settleShot(ctx_);
                stage_ = Stage::Done;
                wait_ = 0;
                return;
            }
            if (options_.maxCycles >= 0 && result_.cycles >= options_.maxCycles) {
                result_.unfinished = true;
                stage_ = Stage::Done;
                wait_ = 0;
                return;
            }
            anyStep_ = false;
        }
        for (int i = piece_ + 1; i <= n; ++i) {
            if (steps(g, f, i)) {
                piece_ = i;
                if (timed) wait_ = yieldsPerStep(f.stepDelay);
                return;
            }
        }
        ++result_.cycles;
        over_ = true;
        for (int i = 1; i <= n; ++i)
            if (engine::movingPart(f.velocityX[i]) || engine::movingPart(f.velocityY[i])) over_ = false;
        // A cycle without a step changes nothing, so the next would not
        // either (a piece off the board moving along x only): the shot is over.
        if (!anyStep_) over_ = true;
        piece_ = 0;
    }
}

}  // namespace capzel
