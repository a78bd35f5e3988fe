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
    modCapzel& g = ctx.g;
    Board& board = ctx.board();
    const int n = std::clamp(s.players, 1, kMaxPlayers);

    g.GameRunning = true;
    g.NumberOfPlayers = std::int16_t(n);
    g.SongNumber = 1;
    g.recreatePerGameTables();

    Box& holder = board.PieceHolder;
    holder.Width = float(1.5 * double(ctx.piece(1).Width));
    holder.Height = float((double(n) + 0.5) * double(ctx.piece(1).Height));

    for (int i = 1; i <= n; ++i) {
        Box& piece = ctx.piece(i);
        const double w = piece.Width;
        const double h = piece.Height;
        piece.Left = float(double(holder.Left) + w / 4.0);
        piece.Top = float(double(holder.Top) + h / 4.0 + double(n - i) * h);
        piece.Visible = true;

        const FrictionLevelInfo& level = frictionLevelInfo(s.friction[std::size_t(i)]);
        g.Friction[i] = level.friction;
        g.Score[i] = startingScore(s.friction[std::size_t(i)], i);
        g.PlayerColor[i] = s.colors[std::size_t(i)];
        g.PlayerName[i] = s.names[std::size_t(i)];
        g.MoveableNextTurn[i] = false;
        g.InGame[i] = false;
        g.LosingTurn[i] = false;
        g.HeadingInReverse[i] = false;
        g.OnLetters[i] = false;
        g.IsKiller[i] = false;
        g.Dead[i] = false;
        g.Position[i] = 0;
        g.playerKind[i] = s.seats[std::size_t(i)];
    }
    for (int i = n + 1; i <= kMaxPlayers; ++i) ctx.piece(i).Visible = false;

    g.WallsOn = s.walls;
    for (int j = 1; j <= kInnerWalls; ++j) board.Wall[j].Visible = s.walls;

    g.ShotInProgress = false;
    g.CurrentTurn = 1;
}

}  // namespace capzel
