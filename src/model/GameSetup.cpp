#include "model/GameSetup.h"

#include <algorithm>

namespace capzel {

namespace {
constexpr int kInnerWalls = 8;  // walls 9 and 10 stand outside the field
}  // namespace

void buildGame(Game& g, const GameSetup& setup) {
    Board& board = g.board;
    const int n = std::clamp(int(setup.seats.size()), 1, kMaxPlayers);

    g.gameRunning = true;
    g.numberOfPlayers = std::int16_t(n);
    g.currentTurn = setup.currentTurn;
    g.recreatePerGameTables();

    bool anyWaiting = false;
    for (int i = 1; i <= n && std::size_t(i) <= setup.seats.size(); ++i) {
        const SeatSetup& seat = setup.seats[std::size_t(i - 1)];
        g.seats[i].name = seat.name;
        if (seat.color) g.seats[i].color = *seat.color;
        g.seats[i].friction = seat.friction;
        g.seats[i].score = seat.score;
        g.seats[i].kind = seat.kind;
        g.seats[i].position = seat.position;
        g.seats[i].inGame = seat.inGame;
        g.seats[i].dead = seat.dead;
        g.seats[i].isKiller = seat.isKiller;
        g.seats[i].onLetters = seat.onLetters;
        g.seats[i].headingInReverse = seat.headingInReverse;
        g.seats[i].moveableNextTurn = seat.moveableNextTurn;
        g.seats[i].losingTurn = seat.losingTurn;

        Box& piece = g.piece(i);
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
    for (int i = n + 1; i <= kMaxPlayers; ++i) g.piece(i).visible = false;

    // The holder holds every piece of the game, stacked with half a piece to
    // spare. A new game (every piece waiting) also makes it one and a half
    // pieces wide and ends any shot; a game that goes on leaves both alone.
    Box& holder = board.pieceHolder;
    const bool allWaiting =
        std::none_of(setup.seats.begin(), setup.seats.end(), [](const SeatSetup& s) { return s.piece.has_value(); });
    if (allWaiting) {
        holder.width = float(1.5 * double(g.piece(1).width));
        g.shotInProgress = false;
    }
    holder.height = float((double(n) + 0.5) * double(g.piece(1).height));
    holder.visible = anyWaiting;
    for (int i = 1; i <= n && std::size_t(i) <= setup.seats.size(); ++i) {
        if (setup.seats[std::size_t(i - 1)].piece) continue;
        Box& piece = g.piece(i);
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

void paintPlayerColors(Game& g) {
    for (int i = 1; i <= g.playerCount(); ++i) g.piece(i).fillColor = g.seat(i).color;
}

}  // namespace capzel
