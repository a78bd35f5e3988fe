#include "players/PlannedShot.h"

#include <algorithm>
#include <cmath>

#include "engine/Shot.h"
#include "model/Numbers.h"
#include "rules/Turns.h"

namespace capzel::players {

namespace {
constexpr int kTickDrop = 10;       // the bar's level falls by 10 twips a tick
constexpr double kAimLength = 1500;  // twips from the piece's centre to the aim point
}  // namespace

int maxBarTicks(const Board& board) {
    // The charge restarts once the level has passed 10 twips above the top:
    // the last level stopped is the first one below -10.
    const int h = int(roundHalfEven(board.picPower.ScaleHeight()));
    return std::max(1, (h + kTickDrop) / kTickDrop + 1);
}

int barLevel(const Board& board, int ticks) {
    const int h = int(roundHalfEven(board.picPower.ScaleHeight()));
    return h - kTickDrop * std::clamp(ticks, 1, maxBarTicks(board));
}

std::int16_t barStrength(const Board& board, int ticks) {
    return std::int16_t(roundHalfEven(double(board.ScaleHeight) - double(barLevel(board, ticks))));
}

float aimStartX(const Box& piece) { return float(double(piece.Width) / 2 + double(piece.Left)); }
float aimStartY(const Box& piece) { return float(double(piece.Height) / 2 + double(piece.Top)); }

PlannedShot shotAlong(const modCapzel& g, const Board& board, double angle, int ticks) {
    const Box& piece = board.Player[std::clamp<int>(g.CurrentTurn, 1, kMaxPlayers)];
    PlannedShot shot;
    shot.aimX = float(double(aimStartX(piece)) - kAimLength * std::cos(angle));
    shot.aimY = float(double(aimStartY(piece)) - kAimLength * std::sin(angle));
    shot.barTicks = std::clamp(ticks, 1, maxBarTicks(board));
    return shot;
}

double angleOf(const modCapzel& g, const Board& board, const PlannedShot& shot) {
    const Box& piece = board.Player[std::clamp<int>(g.CurrentTurn, 1, kMaxPlayers)];
    return std::atan2(double(aimStartY(piece)) - double(shot.aimY), double(aimStartX(piece)) - double(shot.aimX));
}

bool playShot(GameContext& ctx, const PlannedShot& shot, long maxCycles) {
    modCapzel& g = ctx.g;
    Board& board = ctx.board();
    if (!g.isPlayer(g.CurrentTurn)) return false;
    const Box& piece = board.Player[g.CurrentTurn];
    board.Pointer.X1 = aimStartX(piece);
    board.Pointer.Y1 = aimStartY(piece);
    board.Pointer.X2 = shot.aimX;
    board.Pointer.Y2 = shot.aimY;
    board.Pointer.Visible = false;
    g.Power = barStrength(board, shot.barTicks);
    g.ShotInProgress = true;
    ShotOptions options;
    options.maxCycles = maxCycles;
    const ShotResult result = Shoot_Piece(ctx, options);
    g.Power = 0;
    if (result.unfinished) {
        g.ShotInProgress = false;
        return false;
    }
    judgeFinishedShot(ctx);
    g.ShotInProgress = false;
    return true;
}

}  // namespace capzel::players
