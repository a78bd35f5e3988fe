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

SavedGame gatherSavedGame(const modCapzel& g, const Board& board) {
    SavedGame out;
    const int n = std::clamp<int>(g.NumberOfPlayers, 0, kMaxPlayers);
    out.currentTurn = g.CurrentTurn;
    if (n >= 1 && (g.CurrentTurn < 1 || g.CurrentTurn > n)) out.currentTurn = 1;

    for (int i = 1; i <= n; ++i) {
        SavedPlayer p;
        p.name = g.PlayerName[i];
        p.dead = g.Dead[i];
        p.inGame = g.InGame[i];
        p.isKiller = g.IsKiller[i];
        p.onLetters = g.OnLetters[i];
        p.losingTurn = g.LosingTurn[i];
        p.moveableNextTurn = g.MoveableNextTurn[i];
        p.headingInReverse = g.HeadingInReverse[i];
        p.friction = frictionWithin(g.Friction[i]);
        p.score = std::int16_t(wholeWithin(double(g.Score[i]), INT16_MIN, INT16_MAX));
        p.color = std::int32_t(std::min<Color>(g.PlayerColor[i], Color(lim::kMaxColor)));
        const Box& piece = board.Player[i];
        const auto size = [](float v) { return std::int16_t(wholeWithin(v, lim::kMinPieceSize, lim::kMaxPieceSize)); };
        const auto place = [](float v) {
            return std::int16_t(wholeWithin(v, -lim::kCoordinateLimit, lim::kCoordinateLimit));
        };
        p.height = size(piece.Height);
        p.left = place(piece.Left);
        p.top = place(piece.Top);
        p.width = size(piece.Width);
        p.position = std::int32_t(wholeWithin(double(g.Position[i]), 0, lim::kMaxPosition));
        p.kind = g.playerKind[i];
        out.players.push_back(std::move(p));
    }
    return out;
}

void applySavedGame(GameContext& ctx, const SavedGame& game) {
    modCapzel& g = ctx.g;
    const int n = std::min(game.numberOfPlayers(), kMaxPlayers);
    g.NumberOfPlayers = std::int16_t(n);
    g.CurrentTurn = game.currentTurn;
    g.recreatePerGameTables();

    for (int i = 1; i <= n; ++i) {
        const SavedPlayer& p = game.players[std::size_t(i - 1)];
        g.PlayerName[i] = p.name;
        g.Dead[i] = p.dead;
        g.InGame[i] = p.inGame;
        g.IsKiller[i] = p.isKiller;
        g.OnLetters[i] = p.onLetters;
        g.LosingTurn[i] = p.losingTurn;
        g.MoveableNextTurn[i] = p.moveableNextTurn;
        g.HeadingInReverse[i] = p.headingInReverse;
        g.Friction[i] = p.friction;
        g.Score[i] = p.score;
        g.PlayerColor[i] = Color(p.color);
        Box& piece = ctx.piece(i);
        piece.Height = float(p.height);
        piece.Left = float(p.left);
        piece.Top = float(p.top);
        piece.Width = float(p.width);
        g.Position[i] = p.position;
        g.playerKind[i] = p.kind;
        piece.FillColor = Color(p.color);
        piece.Visible = true;
    }

    Box& holder = ctx.board().PieceHolder;
    holder.Height = float((double(n) + 0.5) * double(ctx.piece(1).Height));
    for (int i = n + 1; i <= kMaxPlayers; ++i) ctx.piece(i).Visible = false;

    g.GameRunning = true;
    g.SongNumber = 1;
}

}  // namespace capzel
