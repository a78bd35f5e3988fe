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

SavedGame gatherSavedGame(const GameState& g, const Board& board) {
    SavedGame out;
    const int n = std::clamp<int>(g.numberOfPlayers, 0, kMaxPlayers);
    out.currentTurn = g.currentTurn;
    if (n >= 1 && (g.currentTurn < 1 || g.currentTurn > n)) out.currentTurn = 1;

    for (int i = 1; i <= n; ++i) {
        SavedPlayer p;
        p.name = g.playerName[i];
        p.dead = g.dead[i];
        p.inGame = g.inGame[i];
        p.isKiller = g.isKiller[i];
        p.onLetters = g.onLetters[i];
        p.losingTurn = g.losingTurn[i];
        p.moveableNextTurn = g.moveableNextTurn[i];
        p.headingInReverse = g.headingInReverse[i];
        p.friction = frictionWithin(g.friction[i]);
        p.score = g.score[i];
        p.color = std::int32_t(std::min<Color>(g.playerColor[i], Color(lim::kMaxColor)));
        const Box& piece = board.pieces[i];
        const auto size = [](float v) { return std::int16_t(wholeWithin(v, lim::kMinPieceSize, lim::kMaxPieceSize)); };
        const auto place = [](float v) {
            return std::int16_t(wholeWithin(v, -lim::kCoordinateLimit, lim::kCoordinateLimit));
        };
        p.height = size(piece.height);
        p.left = place(piece.left);
        p.top = place(piece.top);
        p.width = size(piece.width);
        p.position = std::int32_t(wholeWithin(double(g.position[i]), 0, lim::kMaxPosition));
        p.kind = g.playerKind[i];
        out.players.push_back(std::move(p));
    }
    return out;
}

void applySavedGame(GameContext& ctx, const SavedGame& game) {
    GameState& g = ctx.g;
    const int n = std::min(game.numberOfPlayers(), kMaxPlayers);
    g.numberOfPlayers = std::int16_t(n);
    g.currentTurn = game.currentTurn;
    g.recreatePerGameTables();

    for (int i = 1; i <= n; ++i) {
        const SavedPlayer& p = game.players[std::size_t(i - 1)];
        g.playerName[i] = p.name;
        g.dead[i] = p.dead;
        g.inGame[i] = p.inGame;
        g.isKiller[i] = p.isKiller;
        g.onLetters[i] = p.onLetters;
        g.losingTurn[i] = p.losingTurn;
        g.moveableNextTurn[i] = p.moveableNextTurn;
        g.headingInReverse[i] = p.headingInReverse;
        g.friction[i] = p.friction;
        g.score[i] = p.score;
        g.playerColor[i] = Color(p.color);
        Box& piece = ctx.piece(i);
        piece.height = float(p.height);
        piece.left = float(p.left);
        piece.top = float(p.top);
        piece.width = float(p.width);
        g.position[i] = p.position;
        g.playerKind[i] = p.kind;
        piece.fillColor = Color(p.color);
        piece.visible = true;
    }

    Box& holder = ctx.board().pieceHolder;
    holder.height = float((double(n) + 0.5) * double(ctx.piece(1).height));
    for (int i = n + 1; i <= kMaxPlayers; ++i) ctx.piece(i).visible = false;

    g.gameRunning = true;
    g.songNumber = 1;
}

}  // namespace capzel
