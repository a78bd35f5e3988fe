#include "players/PlannedShot.h"

#include <algorithm>
#include <cmath>

#include "engine/Shot.h"
#include "model/Numbers.h"
#include "rules/Progression.h"
#include "rules/ShotJudging.h"

namespace capzel::players {

namespace {
constexpr double kAimLength = 1500;  // twips from the piece's centre to the aim point
}  // namespace

std::int16_t barStrength(const Board& board, int ticks) { return strengthAfterTicks(board.scaleHeight, ticks); }

float aimStartX(const Box& piece) { return storedFloat(double(piece.width) / 2 + double(piece.left)); }
float aimStartY(const Box& piece) { return storedFloat(double(piece.height) / 2 + double(piece.top)); }

PlannedShot shotAlong(const Game& g, double angle, int ticks) {
    const Box& piece = g.piece(std::clamp<int>(g.currentTurn, 1, kMaxPlayers));
    PlannedShot shot;
    shot.aimX = float(double(aimStartX(piece)) - kAimLength * std::cos(angle));
    shot.aimY = float(double(aimStartY(piece)) - kAimLength * std::sin(angle));
    shot.barTicks = std::clamp(ticks, 1, maxBarTicks());
    return shot;
}

double angleOf(const Game& g, const PlannedShot& shot) {
    const Box& piece = g.piece(std::clamp<int>(g.currentTurn, 1, kMaxPlayers));
    return std::atan2(double(aimStartY(piece)) - double(shot.aimY), double(aimStartX(piece)) - double(shot.aimX));
}

ShotCommand plannedShotCommand(const Game& g, const PlannedShot& shot) {
    const Box& piece = g.piece(std::clamp<int>(g.currentTurn, 1, kMaxPlayers));
    ShotCommand c;
    c.seat = g.currentTurn;
    c.x1 = aimStartX(piece);
    c.y1 = aimStartY(piece);
    c.x2 = shot.aimX;
    c.y2 = shot.aimY;
    c.strength = barStrength(g.board, shot.barTicks);
    return c;
}

std::optional<Judgement> playShot(GameContext& ctx, const PlannedShot& shot, long maxCycles, bool* inTarget) {
    if (inTarget != nullptr) *inTarget = false;
    Game& g = ctx.game;
    Board& board = ctx.board();
    if (!g.isPlayer(g.currentTurn)) return std::nullopt;
    const Box& piece = board.pieces[g.currentTurn];
    board.pointer.x1 = aimStartX(piece);
    board.pointer.y1 = aimStartY(piece);
    board.pointer.x2 = shot.aimX;
    board.pointer.y2 = shot.aimY;
    board.pointer.visible = false;
    g.shotInProgress = true;
    ShotOptions options;
    options.maxCycles = maxCycles;
    const ShotResult result = shootPiece(ctx, barStrength(board, shot.barTicks), options);
    g.launchStrength = 0;
    if (result.unfinished) {
        g.shotInProgress = false;
        return std::nullopt;
    }
    if (inTarget != nullptr) *inTarget = !g.seats[g.currentTurn].isKiller && inNextTarget(ctx);
    Judgement judged = judgeFinishedShot(ctx);
    g.shotInProgress = false;
    return judged;
}

}  // namespace capzel::players
