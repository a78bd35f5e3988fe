#include "engine/ContactPass.h"

#include <cmath>

#include "engine/Assign.h"
#include "model/Numbers.h"

namespace capzel::engine {

namespace {

bool pairLogged(const Game& g, int i, int j) {
    for (int k = 1; k <= kHitLogSize; ++k) {
        if ((g.hitFirst[k] == i && g.hitSecond[k] == j) || (g.hitFirst[k] == j && g.hitSecond[k] == i))
            return true;
    }
    return false;
}

// Pieces with any velocity part not exactly 0 (leftovers of resting pieces
// count).
int piecesWithVelocity(const Game& g) {
    int m = 0;
    const int n = g.numberOfPlayers < kMaxPlayers ? g.numberOfPlayers : kMaxPlayers;
    for (int k = 1; k <= n; ++k)
        if (g.velocityX[k] != 0 || g.velocityY[k] != 0) ++m;
    return m;
}

// How fast pieces i and j close on each other, before they are pushed apart.
float closingSpeed(const Game& g, int i, int j) {
    return float(std::hypot(double(g.velocityX[i]) - double(g.velocityX[j]), double(g.velocityY[i]) - double(g.velocityY[j])));
}

// The first contact of a pair in this shot, once the pair has been pushed
// apart: points, a kill by the shooting killer, the log entry (from the 21st
// pair on, entry 20 is overwritten). The report of the contact counts the
// pieces then moving, by which a watched shot keeps its pace, and carries
// `closing`, the pair's closing speed, by which it sounds; a kill sounds as
// hard as its contact.
void recordNewPair(const GameContext& ctx, int i, int j, float closing) {
    Game& g = ctx.game;
    if (ctx.shotEvents) ctx.report({ShotEventKind::Contact, i, j, piecesWithVelocity(g), closing});
    addPoints(g.seats[g.currentTurn].score, 10);
    const int shooter = g.currentTurn;
    if (g.seats[shooter].isKiller && (i == shooter || j == shooter)) {
        ctx.report({ShotEventKind::Kill, i == shooter ? j : i, shooter, 0, closing});
        g.seats[i == shooter ? j : i].dead = true;
        ++g.killCount;
        addPoints(g.seats[shooter].score, 100);
    }
    g.hitCount = g.hitCount + 1 > kHitLogSize ? kHitLogSize : g.hitCount + 1;
    g.hitFirst[g.hitCount] = i;
    g.hitSecond[g.hitCount] = j;
}

}  // namespace

void touch(GameContext& ctx, int i, int j, const Overlap& o) {
    Game& g = ctx.game;
    const Box& a = g.board.pieces[i];
    const Box& b = g.board.pieces[j];

    const bool isNew = !pairLogged(g, i, j);
    // Only a shot that reports what happens needs the closing speed.
    const float closing = isNew && ctx.shotEvents ? closingSpeed(g, i, j) : 0;

    const double d = std::sqrt(o.D2);
    const double mx = (o.xi + o.xj) / 2;
    const double my = (o.yi + o.yj) / 2;
    // Coinciding centres (d = 0) have no line between them: the offsets
    // of the last contact are kept and give the push its direction.
    assignDouble(g.ox, o.R * (o.ddx / d) / 2);
    assignDouble(g.oy, o.R * (o.ddy / d) / 2);
    const double ox = g.ox;
    const double oy = g.oy;

    // Each piece is pushed towards its target centre, R apart from the
    // other's and symmetric about the midpoint.
    assignFloat(g.velocityX[i], double(g.velocityX[i]) + ((mx + ox) - (double(a.left) + double(a.width) / 2)));
    assignFloat(g.velocityY[i], double(g.velocityY[i]) + ((my + oy) - (double(a.top) + double(a.height) / 2)));
    assignFloat(g.velocityX[j], double(g.velocityX[j]) + ((mx - ox) - (double(b.left) + double(b.width) / 2)));
    assignFloat(g.velocityY[j], double(g.velocityY[j]) + ((my - oy) - (double(b.top) + double(b.height) / 2)));

    if (isNew) recordNewPair(ctx, i, j, closing);
}

}  // namespace capzel::engine
