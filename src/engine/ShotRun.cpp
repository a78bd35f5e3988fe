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

int playerCount(const modCapzel& g) {
    return g.NumberOfPlayers < kMaxPlayers ? int(g.NumberOfPlayers) : kMaxPlayers;
}

// The yields before one step: the whole part of StepDelay, none below 1.
long yieldsPerStep(double stepDelay) {
    if (!(stepDelay >= 1)) return 0;
    constexpr double kMost = 1e15;  // far beyond any delay the game sets
    return long(std::floor(stepDelay < kMost ? stepDelay : kMost));
}

// Piece i takes a step in this cycle: it is in the game and moves along x,
// or it moves along y.
bool steps(const modCapzel& g, const Field& f, int i) {
    return (g.InGame[i] && engine::movingPart(f.VelocityX[i])) || engine::movingPart(f.VelocityY[i]);
}

// The board's edges, read afresh at every test: a piece that crosses one is
// put flush against it and sent back with 90 % of its speed across it.
inline void boardEdges(const Board& board, Box& p, float& vx, float& vy) {
    if (fsum(p.Left, p.Width) > board.linRight.X1) {
        engine::assignFloat(p.Left, double(board.linRight.X1) - double(p.Width));
        engine::assignFloat(vx, -0.9 * std::fabs(double(vx)));
    }
    if (p.Left < board.linLeft.X1) {
        p.Left = board.linLeft.X1;
        engine::assignFloat(vx, 0.9 * std::fabs(double(vx)));
    }
    if (fsum(p.Top, p.Height) > board.ScaleHeight) {
        engine::assignFloat(p.Top, double(board.ScaleHeight) - double(p.Height));
        engine::assignFloat(vy, -0.9 * std::fabs(double(vy)));
    }
    if (p.Top < 0) {
        p.Top = 0;
        engine::assignFloat(vy, 0.9 * std::fabs(double(vy)));
    }
}

// Direction, strength, velocities, counters. A pointer of zero length has no
// direction: the shooter gets no velocity, so nothing moves and the
// settlement runs at once, as for a shot of strength 0.
void launch(modCapzel& g, Field& f) {
    engine::Direction dir;
    engine::aimDirection(f.board.Pointer, dir);
    g.Power = engine::strengthCurve(g.Power);
    const double dx = dir.dx * double(g.Power) / 80.0;
    const double dy = dir.dy * double(g.Power) / 80.0;
    for (int i = 1; i <= playerCount(g); ++i) {
        f.VelocityX[i] = 0;
        f.VelocityY[i] = 0;
    }
    f.VelocityX[g.CurrentTurn] = float(dx / 75.0);
    f.VelocityY[g.CurrentTurn] = float(dy / 75.0);
    g.HitCount = 0;
    g.SentCount = 0;
    g.KillCount = 0;
    g.HitFirst.fill(0);
    g.HitSecond.fill(0);
}

// One step of piece i: it moves by its velocity, bounces off the board's
// edges and the walls, touches the other pieces, and loses speed by its
// owner's friction.
void stepPiece(GameContext& ctx, int i) {
    modCapzel& g = ctx.g;
    Field& f = ctx.field;
    Box& p = f.board.Player[i];
    float& vx = f.VelocityX[i];
    float& vy = f.VelocityY[i];
    engine::assignFloat(p.Left, double(p.Left) + double(vx));
    engine::assignFloat(p.Top, double(p.Top) + double(vy));
    boardEdges(f.board, p, vx, vy);
    engine::wallPass(ctx, i);
    engine::contactPass(ctx, i);
    const double keep = double(g.Friction[i]);
    engine::assignFloat(vx, double(vx) * keep / 100.0);
    engine::assignFloat(vy, double(vy) * keep / 100.0);
}

}  // namespace

ShotRun::ShotRun(const GameContext& ctx, const ShotOptions& options) : ctx_(ctx), options_(options) {
    modCapzel& g = ctx_.g;
    if (g.CurrentTurn < 1 || g.CurrentTurn > playerCount(g)) return;
    launch(g, ctx_.field);
    calibrationStart_ = ctx_.ui.clock();
    wait_ = kCalibrationYields;
    stage_ = Stage::Calibrating;
}

void ShotRun::advance() {
    switch (stage_) {
    case Stage::Calibrating:
        // A fast machine gets the long delay.
        ctx_.field.StepDelay = engine::calibratedStepDelay(ctx_.ui.clock() - calibrationStart_);
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
        seekNextStep();
    }
}

// Goes on from the piece stepped last to the next one that steps, ending
// cycles (and with them the main loop) on the way. Every piece is tested
// when its turn in the cycle comes, so values changed during a wait count.
void ShotRun::seekNextStep() {
    const modCapzel& g = ctx_.g;
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
                wait_ = yieldsPerStep(f.StepDelay);
                return;
            }
        }
        ++result_.cycles;
        over_ = true;
        for (int i = 1; i <= n; ++i)
            if (engine::movingPart(f.VelocityX[i]) || engine::movingPart(f.VelocityY[i])) over_ = false;
        // A cycle without a step changes nothing, so the next would not
        // either (a piece off the board moving along x only): the shot is over.
        if (!anyStep_) over_ = true;
        piece_ = 0;
    }
}

}  // namespace capzel
