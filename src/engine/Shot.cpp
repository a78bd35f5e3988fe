#include "engine/Shot.h"

#include <cmath>

#include "engine/Assign.h"
#include "engine/ContactPass.h"
#include "engine/Launch.h"
#include "engine/Settlement.h"
#include "engine/WallPass.h"
#include "model/Numbers.h"

namespace capzel {

namespace {

constexpr long kCalibrationYields = 10000;

int playerCount(const modCapzel& g) {
    return g.NumberOfPlayers < kMaxPlayers ? int(g.NumberOfPlayers) : kMaxPlayers;
}

// The yields before one step: the whole part of StepDelay, none below 1.
long yieldsPerStep(double stepDelay) {
    if (!(stepDelay >= 1)) return 0;
    constexpr double kMost = 1e15;  // far beyond any delay the game sets
    return long(std::floor(stepDelay < kMost ? stepDelay : kMost));
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

// Launch steps 1 to 6: direction, strength, velocities, counters. A pointer
// of zero length has no direction: the shooter gets no velocity, so nothing
// moves and the settlement runs at once, as for a shot of strength 0.
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

}  // namespace

ShotResult Shoot_Piece(GameContext& ctx, const ShotOptions& options) {
    ShotResult result;
    modCapzel& g = ctx.g;
    Field& f = ctx.field;
    Board& board = f.board;
    // Without a shooter on the board's list there is no piece to launch.
    if (g.CurrentTurn < 1 || g.CurrentTurn > playerCount(g)) return result;

    launch(g, f);

    // Speed calibration: a fast machine gets the long delay.
    const double t0 = ctx.ui.clock();
    if (!ctx.ui.yield(kCalibrationYields)) {
        result.abandoned = true;
        return result;
    }
    f.StepDelay = engine::calibratedStepDelay(ctx.ui.clock() - t0);

    bool done = false;
    for (;;) {
        if (done) {
            engine::settleShot(ctx);
            return result;
        }
        if (options.maxCycles >= 0 && result.cycles >= options.maxCycles) {
            result.unfinished = true;
            return result;
        }

        // One cycle: every piece with a moving part takes one step, in
        // player order. Values are read afresh after each batch of yields:
        // a command run during them may have changed them.
        bool anyStep = false;
        for (int i = 1; i <= playerCount(g); ++i) {
            if (!((g.InGame[i] && engine::movingPart(f.VelocityX[i])) || engine::movingPart(f.VelocityY[i])))
                continue;
            const long yields = yieldsPerStep(f.StepDelay);
            if (yields > 0 && !ctx.ui.yield(yields)) {
                result.abandoned = true;
                return result;
            }
            ++result.steps;
            anyStep = true;
            Box& p = board.Player[i];
            float& vx = f.VelocityX[i];
            float& vy = f.VelocityY[i];
            engine::assignFloat(p.Left, double(p.Left) + double(vx));
            engine::assignFloat(p.Top, double(p.Top) + double(vy));
            boardEdges(board, p, vx, vy);
            engine::wallPass(ctx, i);
            engine::contactPass(ctx, i);
            const double keep = double(g.Friction[i]);
            engine::assignFloat(vx, double(vx) * keep / 100.0);
            engine::assignFloat(vy, double(vy) * keep / 100.0);
        }
        ++result.cycles;

        done = true;
        for (int i = 1; i <= playerCount(g); ++i)
            if (engine::movingPart(f.VelocityX[i]) || engine::movingPart(f.VelocityY[i])) done = false;
        // A cycle without a step changes nothing, so the next would not
        // either (a piece off the board moving along x only): the shot is over.
        if (!anyStep) done = true;
    }
}

}  // namespace capzel
