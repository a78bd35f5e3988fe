#include "records/NewGame.h"

#include <algorithm>

namespace capzel {

namespace {
constexpr Color kDialogColors[kMaxPlayers + 1] = {
    0,
    rgb(255, 255, 255), rgb(255, 0, 0), rgb(255, 128, 0), rgb(255, 255, 0),
    rgb(0, 255, 0),     rgb(0, 255, 255), rgb(0, 0, 255), rgb(255, 0, 255),
};
constexpr int kInnerWalls = 8;  // walls 9 and 10 stand outside the field
}  // namespace

Color defaultPlayerColor(int player) {
    return player >= 1 && player <= kMaxPlayers ? kDialogColors[player] : 0;
}

NewGameSettings::NewGameSettings() {
    for (int i = 1; i <= kMaxPlayers; ++i) {
        names[std::size_t(i)] = "Player " + std::to_string(i);
        colors[std::size_t(i)] = kDialogColors[i];
        friction[std::size_t(i)] = FrictionLevel::Normal;
    }
}

void applyNewGame(GameContext& ctx, const NewGameSettings& s) {
    GameState& g = ctx.g;
    Board& board = ctx.board();
    const int n = std::clamp(s.players, 1, kMaxPlayers);

    g.gameRunning = true;
    g.numberOfPlayers = std::int16_t(n);
    g.songNumber = 1;
    g.recreatePerGameTables();

    Box& holder = board.pieceHolder;
    holder.width = float(1.5 * double(ctx.piece(1).width));
    holder.height = float((double(n) + 0.5) * double(ctx.piece(1).height));

    for (int i = 1; i <= n; ++i) {
        Box& piece = ctx.piece(i);
        const double w = piece.width;
        const double h = piece.height;
        piece.left = float(double(holder.left) + w / 4.0);
        piece.top = float(double(holder.top) + h / 4.0 + double(n - i) * h);
        piece.visible = true;

        const FrictionLevelInfo& level = frictionLevelInfo(s.friction[std::size_t(i)]);
        g.friction[i] = level.friction;
        g.score[i] = startingScore(s.friction[std::size_t(i)], i);
        g.playerColor[i] = s.colors[std::size_t(i)];
        g.playerName[i] = s.names[std::size_t(i)];
        g.moveableNextTurn[i] = false;
        g.inGame[i] = false;
        g.losingTurn[i] = false;
        g.headingInReverse[i] = false;
        g.onLetters[i] = false;
        g.isKiller[i] = false;
        g.dead[i] = false;
        g.position[i] = 0;
        g.playerKind[i] = s.seats[std::size_t(i)];
    }
    for (int i = n + 1; i <= kMaxPlayers; ++i) ctx.piece(i).visible = false;

    g.wallsOn = s.walls;
    for (int j = 1; j <= kInnerWalls; ++j) board.walls[j].visible = s.walls;

    g.shotInProgress = false;
    g.currentTurn = 1;
}

}  // namespace capzel
