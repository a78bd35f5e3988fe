#include "records/SavedGameState.h"

#include <algorithm>
#include <cmath>

#include "model/Numbers.h"

namespace capzel {

namespace {

namespace lim = saveLimits;

// A float of the field rounded to a whole twip, halves to even, held to
// [lo, hi]. A value that is not a number becomes the end nearest 0.
long long wholeWithin(double v, long long lo, long long hi) {
    if (std::isnan(v)) return std::clamp(0LL, lo, hi);
    const double r = roundHalfEven(std::clamp(v, double(lo), double(hi)));
    return std::clamp(static_cast<long long>(r), lo, hi);
}

float frictionWithin(float f) {
    if (std::isnan(f)) return lim::kNormalFriction;
    return std::clamp(f, lim::kMinFriction, lim::kMaxFriction) + 0.0f;
}

}  // namespace

SavedGame gatherSavedGame(const Game& g) {
    const Board& board = g.board;
    SavedGame out;
    const int n = std::clamp<int>(g.numberOfPlayers, 0, kMaxPlayers);
    out.currentTurn = g.currentTurn;
    if (n >= 1 && (g.currentTurn < 1 || g.currentTurn > n)) out.currentTurn = 1;

    for (int i = 1; i <= n; ++i) {
        SavedPlayer p;
        p.name = g.seats[i].name;
        p.dead = g.seats[i].dead;
        p.inGame = g.seats[i].inGame;
        p.isKiller = g.seats[i].isKiller;
        p.onLetters = g.seats[i].onLetters;
        p.losingTurn = g.seats[i].losingTurn;
        p.moveableNextTurn = g.seats[i].moveableNextTurn;
        p.headingInReverse = g.seats[i].headingInReverse;
        p.friction = frictionWithin(g.seats[i].friction);
        p.score = g.seats[i].score;
        p.color = std::int32_t(std::min<Color>(g.seats[i].color, Color(lim::kMaxColor)));
        const Box& piece = board.pieces[i];
        const auto size = [](float v) { return std::int16_t(wholeWithin(v, lim::kMinPieceSize, lim::kMaxPieceSize)); };
        const auto place = [](float v) {
            return std::int16_t(wholeWithin(v, -lim::kCoordinateLimit, lim::kCoordinateLimit));
        };
        p.height = size(piece.height);
        p.left = place(piece.left);
        p.top = place(piece.top);
        p.width = size(piece.width);
        p.position = std::int32_t(wholeWithin(double(g.seats[i].position), 0, lim::kMaxPosition));
        p.kind = g.seats[i].kind;
        out.players.push_back(std::move(p));
    }
    return out;
}

GameSetup savedGameSetup(const SavedGame& game) {
    GameSetup setup;
    const int n = std::min(game.numberOfPlayers(), kMaxPlayers);
    setup.currentTurn = game.currentTurn;
    for (int i = 1; i <= n; ++i) {
        const SavedPlayer& p = game.players[std::size_t(i - 1)];
        SeatSetup seat;
        seat.name = p.name;
        seat.color = Color(p.color);
        seat.friction = p.friction;
        seat.score = p.score;
        seat.kind = p.kind;
        seat.position = p.position;
        seat.inGame = p.inGame;
        seat.dead = p.dead;
        seat.isKiller = p.isKiller;
        seat.onLetters = p.onLetters;
        seat.headingInReverse = p.headingInReverse;
        seat.moveableNextTurn = p.moveableNextTurn;
        seat.losingTurn = p.losingTurn;
        seat.piece = PiecePlace{float(p.left), float(p.top), float(p.width), float(p.height)};
        setup.seats.push_back(std::move(seat));
    }
    return setup;
}

void applySavedGame(Game& g, const SavedGame& game) { buildGame(g, savedGameSetup(game)); }

}  // namespace capzel
