#include "model/GameSetup.h"

#include <algorithm>

namespace capzel {

namespace {
constexpr int kInnerWalls = 8;  // walls 9 and 10 stand outside the field
}  // namespace

void buildGame(GameContext& ctx, const GameSetup& setup) {
    GameState& g = ctx.g;
    Board& board = ctx.board();
    const int n = std::clamp(int(setup.seats.size()), 1, kMaxPlayers);

    g.gameRunning = true;
    g.numberOfPlayers = std::int16_t(n);
    g.currentTurn = setup.currentTurn;
    g.recreatePerGameTables();

    bool anyWaiting = false;
    for (int i = 1; i <= n && std::size_t(i) <= setup.seats.size(); ++i) {
        const SeatSetup& seat = setup.seats[std::size_t(i - 1)];
        g.playerName[i] = seat.name;
        if (seat.color) g.playerColor[i] = *seat.color;
        g.friction[i] = seat.friction;
        g.score[i] = seat.score;
        g.playerKind[i] = seat.kind;
        g.position[i] = seat.position;
        g.inGame[i] = seat.inGame;
        g.dead[i] = seat.dead;
        g.isKiller[i] = seat.isKiller;
        g.onLetters[i] = seat.onLetters;
        g.headingInReverse[i] = seat.headingInReverse;
        g.moveableNextTurn[i] = seat.moveableNextTurn;
        g.losingTurn[i] = seat.losingTurn;

        Box& piece = ctx.piece(i);
        piece.visible = true;
        if (!seat.piece) {
            anyWaiting = true;
            continue;
        }
        piece.left = seat.piece->left;
        piece.top = seat.piece->top;
        piece.width = seat.piece->width;
        piece.height = seat.piece->height;
        // A piece in the holder takes its colour when the window shows the game.
        if (seat.color) piece.fillColor = *seat.color;
    }
    for (int i = n + 1; i <= kMaxPlayers; ++i) ctx.piece(i).visible = false;

    // The holder holds every piece of the game, stacked with half a piece to
    // spare. A new game (every piece waiting) also makes it one and a half
    // pieces wide and ends any shot; a game that goes on leaves both alone.
    Box& holder = board.pieceHolder;
    const bool allWaiting =
        std::none_of(setup.seats.begin(), setup.seats.end(), [](const SeatSetup& s) { return s.piece.has_value(); });
    if (allWaiting) {
        holder.width = float(1.5 * double(ctx.piece(1).width));
        g.shotInProgress = false;
    }
    holder.height = float((double(n) + 0.5) * double(ctx.piece(1).height));
    holder.visible = anyWaiting;
    for (int i = 1; i <= n && std::size_t(i) <= setup.seats.size(); ++i) {
        if (setup.seats[std::size_t(i - 1)].piece) continue;
        Box& piece = ctx.piece(i);
        const double w = piece.width;
        const double h = piece.height;
        piece.left = float(double(holder.left) + w / 4.0);
        piece.top = float(double(holder.top) + h / 4.0 + double(n - i) * h);
    }

    if (setup.walls) {
        g.wallsOn = *setup.walls;
        for (int j = 1; j <= kInnerWalls; ++j) board.walls[j].visible = *setup.walls;
    }
}

}  // namespace capzel
