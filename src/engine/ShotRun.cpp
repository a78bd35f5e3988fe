#include "engine/ShotRun.h"

#include <array>
#include <cmath>

#include "engine/Assign.h"
#include "engine/ContactPass.h"
#include "engine/Launch.h"
#include "engine/Settlement.h"
#include "engine/WallGrid.h"
#include "engine/WallPass.h"
#include "model/Numbers.h"

namespace capzel {

namespace {

int playerCount(const Game& g) {
    return g.numberOfPlayers < kMaxPlayers ? int(g.numberOfPlayers) : kMaxPlayers;
}

// Piece i takes a step in this cycle: it is in the game and moves along x,
// or it moves along y.
bool steps(const Game& g, int i, std::uint32_t inGame) {
    return ((inGame >> i & 1u) && engine::movingPart(g.velocityX[i])) || engine::movingPart(g.velocityY[i]);
}

// The board's edges, read afresh at every test: a piece that crosses one is
// put flush against it and sent back with 90 % of its speed across it.
inline void boardEdges(const Board& board, engine::MovingPiece& p) {
    if (fsum(p.left, p.width) > board.rightLine.x1) {
        engine::assignFloat(p.left, double(board.rightLine.x1) - double(p.width));
        engine::assignFloat(p.vx, -0.9 * std::fabs(double(p.vx)));
    }
    if (p.left < board.leftLine.x1) {
        p.left = board.leftLine.x1;
        engine::assignFloat(p.vx, 0.9 * std::fabs(double(p.vx)));
    }
    if (fsum(p.top, p.height) > board.scaleHeight) {
        engine::assignFloat(p.top, double(board.scaleHeight) - double(p.height));
        engine::assignFloat(p.vy, -0.9 * std::fabs(double(p.vy)));
    }
    if (p.top < 0) {
        p.top = 0;
        engine::assignFloat(p.vy, 0.9 * std::fabs(double(p.vy)));
    }
}

// The speed a bounce took from the piece (half the change of its
// velocity), reported as an event of kind `kind` when it bounced.
void reportBounce(const GameContext& ctx, ShotEventKind kind, int i, float vx, float vy, const engine::MovingPiece& p) {
    if (vx == p.vx && vy == p.vy) return;
    const float strength = float(std::hypot(double(vx) - double(p.vx), double(vy) - double(p.vy)) / 2);
    ctx.report({kind, i, 0, 0, strength});
}

// The velocity of a piece before a pass, to find a bounce in it: with
// `kReport` a bounce is reported with its strength; without it nothing is
// kept or compared, so a search among many shots pays nothing for reports.
template <bool kReport>
struct BounceWatch {
    float vx = 0, vy = 0;
    void before(const engine::MovingPiece& p) {
        if constexpr (kReport) vx = p.vx, vy = p.vy;
    }
    void after(const GameContext& ctx, ShotEventKind kind, int i, const engine::MovingPiece& p) const {
        if constexpr (kReport) reportBounce(ctx, kind, i, vx, vy, p);
    }
};

// Direction, strength, velocities, counters. A pointer of zero length has no
// direction: the shooter gets no velocity, so nothing moves and the
// settlement runs at once, as for a shot of strength 0.
void launch(Game& g, std::int16_t strength) {
    engine::Direction dir;
    engine::aimDirection(g.board.pointer, dir);
    g.launchStrength = engine::strengthCurve(strength);
    const double dx = dir.dx * double(g.launchStrength) / 80.0;
    const double dy = dir.dy * double(g.launchStrength) / 80.0;
    for (int i = 1; i <= playerCount(g); ++i) {
        g.velocityX[i] = 0;
        g.velocityY[i] = 0;
    }
    g.velocityX[g.currentTurn] = float(dx / 75.0);
    g.velocityY[g.currentTurn] = float(dy / 75.0);
    g.hitCount = 0;
    g.sentCount = 0;
    g.killCount = 0;
    g.hitFirst.fill(0);
    g.hitSecond.fill(0);
}

// One step of piece i: it moves by its velocity, bounces off the board's
// edges and the walls, touches the other pieces, and loses speed by its
// owner's friction. With a grid, only the edges and walls that the grid
// lists for the piece's place are tested, and distant pieces are passed
// over early; without one every test runs in full. Both give the same
// result to the last bit. Always inline, so that the run's loop keeps its
// values in registers from one step to the next. With `kReport` the step
// reports its bounces.
template <bool kReport>
[[gnu::always_inline]] inline void stepPiece(GameContext& ctx, int i, const engine::WallGrid* grid,
                                             std::uint32_t inGame, float friction) {
    Game& g = ctx.game;
    const Board& board = g.board;
    Box& box = g.board.pieces[i];
    // The piece's box and velocity stay in a copy until the contact pass,
    // which reads them from the board.
    engine::MovingPiece p{box.left, box.top, box.width, box.height, g.velocityX[i], g.velocityY[i]};
    engine::assignFloat(p.left, double(p.left) + double(p.vx));
    engine::assignFloat(p.top, double(p.top) + double(p.vy));
    BounceWatch<kReport> watch;
    watch.before(p);
    if (grid == nullptr) {
        boardEdges(board, p);
        watch.after(ctx, ShotEventKind::EdgeBounce, i, p);
        watch.before(p);
        if (g.wallsOn) engine::bounceOffWalls(p, board);
    } else {
        engine::WallGrid::Mask near = grid->near(p.left, p.top);
        if (near & engine::WallGrid::kEdges) {
            boardEdges(board, p);
            near = grid->near(p.left, p.top);
        }
        watch.after(ctx, ShotEventKind::EdgeBounce, i, p);
        watch.before(p);
        if (g.wallsOn) engine::bounceOffWalls(p, board, near);
    }
    watch.after(ctx, ShotEventKind::WallBounce, i, p);
    box.left = p.left;
    box.top = p.top;
    g.velocityX[i] = p.vx;
    g.velocityY[i] = p.vy;
    // Without a contact the velocity is still the one in hand: friction
    // starts from it rather than from the copy just stored, which the next
    // step would otherwise wait for.
    if (engine::contactPass(ctx, i, grid != nullptr, inGame)) {
        p.vx = g.velocityX[i];
        p.vy = g.velocityY[i];
    }
    const double keep = double(friction);
    engine::assignFloat(g.velocityX[i], double(p.vx) * keep / 100.0);
    engine::assignFloat(g.velocityY[i], double(p.vy) * keep / 100.0);
}

}  // namespace

ShotRun::ShotRun(const GameContext& ctx, std::int16_t strength, const ShotOptions& options)
    : ctx_(ctx), options_(options) {
    ctx_.shotEvents = options.events;
    Game& g = ctx_.game;
    if (g.currentTurn < 1 || g.currentTurn > playerCount(g)) return;
    launch(g, strength);
    stage_ = Stage::Launched;
}

void ShotRun::advance() {
    switch (stage_) {
    case Stage::Launched:
        // A shot that moves nothing is settled here, before any step.
        stage_ = Stage::Stepping;
        moveOn();
        return;
    case Stage::Stepping:
        ++at_.result.steps;
        at_.anyStep = true;
        // Commands run during the wait may have changed the board: the grid
        // is looked up afresh for every step.
        if (ctx_.shotEvents)
            stepPiece<true>(ctx_, at_.piece, grid(), engine::inGameMask(ctx_.game), ctx_.game.seats[at_.piece].friction);
        else
            stepPiece<false>(ctx_, at_.piece, grid(), engine::inGameMask(ctx_.game), ctx_.game.seats[at_.piece].friction);
        moveOn();
        return;
    case Stage::Done:
        return;
    }
}

void ShotRun::finish() {
    if (stage_ == Stage::Launched) advance();
    if (stage_ != Stage::Stepping) return;
    // A shot that reports what happens takes its steps one advance at a
    // time; the loop below is kept for the runs that want no reports.
    if (ctx_.shotEvents) {
        while (!done()) advance();
        return;
    }
    // The loop works on copies of the context and of its place in the shot,
    // so that the passes, which write through references, cannot reach them
    // and the loop keeps them at hand. Nothing but the steps changes the
    // board until the run is done, and they move pieces and change speeds,
    // scores and the dead only: one grid and one reading of the pieces in
    // the game and of their friction serve every step.
    GameContext ctx = ctx_;
    Cursor at = at_;
    const engine::WallGrid* wallGrid = grid();
    const std::uint32_t inGame = engine::inGameMask(ctx.game);
    std::array<float, kMaxPlayers + 1> friction{};
    for (int i = 1; i <= kMaxPlayers; ++i) friction[std::size_t(i)] = ctx.game.seats[i].friction;
    Next next = Next::Step;
    while (next == Next::Step) {
        ++at.result.steps;
        at.anyStep = true;
        stepPiece<false>(ctx, at.piece, wallGrid, inGame, friction[std::size_t(at.piece)]);
        next = seekNextStep(ctx.game, options_.maxCycles, at, inGame);
    }
    at_ = at;
    end(next);
}

const engine::WallGrid* ShotRun::grid() const {
    return options_.plainPasses ? nullptr : &engine::WallGrid::forBoard(ctx_.board());
}

void ShotRun::moveOn() {
    const Next next = seekNextStep(ctx_.game, options_.maxCycles, at_, engine::inGameMask(ctx_.game));
    if (next != Next::Step) end(next);
}

void ShotRun::end(Next next) {
    if (next == Next::Settle)
        engine::settleShot(ctx_);
    else
        at_.result.unfinished = true;
    stage_ = Stage::Done;
}

// Goes on from the piece stepped last to the next one that steps, ending
// cycles (and with them the main loop) on the way. Every piece is tested
// when its turn in the cycle comes, so values changed during a wait count.
inline ShotRun::Next ShotRun::seekNextStep(const Game& g, long maxCycles, Cursor& at, std::uint32_t inGame) {
    const int n = playerCount(g);
    for (;;) {
        if (at.piece == 0) {
            if (at.over) return Next::Settle;
            if (maxCycles >= 0 && at.result.cycles >= maxCycles) return Next::Stop;
            at.anyStep = false;
        }
        for (int i = at.piece + 1; i <= n; ++i) {
            if (steps(g, i, inGame)) {
                at.piece = i;
                return Next::Step;
            }
        }
        ++at.result.cycles;
        at.over = true;
        for (int i = 1; i <= n; ++i)
            if (engine::movingPart(g.velocityX[i]) || engine::movingPart(g.velocityY[i])) at.over = false;
        // A cycle without a step changes nothing, so the next would not
        // either (a piece off the board moving along x only): the shot is over.
        if (!at.anyStep) at.over = true;
        at.piece = 0;
    }
}

}  // namespace capzel
