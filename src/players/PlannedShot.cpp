#include "players/PlannedShot.h"

#include <algorithm>
#include <cmath>

#include "engine/Shot.h"
#include "model/Numbers.h"
#include "model/WindowState.h"
#include "rules/Progression.h"
#include "rules/ShotJudging.h"

namespace capzel::players {

namespace {
constexpr int kTickDrop = 10;       // the bar's level falls by 10 twips a tick
constexpr double kAimLength = 1500;  // twips from the piece's centre to the aim point
}  // namespace

int maxBarTicks() {
    // The charge restarts once the level has passed 10 twips above the top:
    // the last level stopped is the first one below -10.
    const int h = powerBarRows();
    return std::max(1, (h + kTickDrop) / kTickDrop + 1);
}

int barLevel(int ticks) {
    const int h = powerBarRows();
    return h - kTickDrop * std::clamp(ticks, 1, maxBarTicks());
}

std::int16_t barStrength(const Board& board, int ticks) {
    return std::int16_t(roundHalfEven(double(board.scaleHeight) - double(barLevel(ticks))));
}

float aimStartX(const Box& piece) { return storedFloat(double(piece.width) / 2 + double(piece.left)); }
float aimStartY(const Box& piece) { return storedFloat(double(piece.height) / 2 + double(piece.top)); }

PlannedShot shotAlong(const GameState& g, const Board& board, double angle, int ticks) {
    const Box& piece = board.pieces[std::clamp<int>(g.currentTurn, 1, kMaxPlayers)];
    PlannedShot shot;
    shot.aimX = float(double(aimStartX(piece)) - kAimLength * std::cos(angle));
    shot.aimY = float(double(aimStartY(piece)) - kAimLength * std::sin(angle));
    shot.barTicks = std::clamp(ticks, 1, maxBarTicks());
    return shot;
}

double angleOf(const GameState& g, const Board& board, const PlannedShot& shot) {
    const Box& piece = board.pieces[std::clamp<int>(g.currentTurn, 1, kMaxPlayers)];
    return std::atan2(double(aimStartY(piece)) - double(shot.aimY), double(aimStartX(piece)) - double(shot.aimX));
}

std::optional<Judgement> playShot(GameContext& ctx, const PlannedShot& shot, long maxCycles, bool* inTarget) {
    if (inTarget != nullptr) *inTarget = false;
    GameState& g = ctx.g;
    Board& board = ctx.board();
    if (!g.isPlayer(g.currentTurn)) return std::nullopt;
    const Box& piece = board.pieces[g.currentTurn];
    board.pointer.x1 = aimStartX(piece);
    board.pointer.y1 = aimStartY(piece);
    board.pointer.x2 = shot.aimX;
    board.pointer.y2 = shot.aimY;
    board.pointer.visible = false;
    g.power = barStrength(board, shot.barTicks);
    g.shotInProgress = true;
    ShotOptions options;
    options.maxCycles = maxCycles;
    const ShotResult result = shootPiece(ctx, options);
    g.power = 0;
    if (result.unfinished) {
        g.shotInProgress = false;
        return std::nullopt;
    }
    if (inTarget != nullptr) *inTarget = !g.isKiller[g.currentTurn] && inNextTarget(ctx);
    Judgement judged = judgeFinishedShot(ctx);
    g.shotInProgress = false;
    return judged;
}

}  // namespace capzel::players
