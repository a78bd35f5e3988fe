#include "engine/ContactPass.h"

#include <cmath>

#include "engine/Assign.h"
#include "model/Numbers.h"

namespace capzel::engine {

namespace {

bool pairLogged(const GameState& g, int i, int j) {
    for (int k = 1; k <= kHitLogSize; ++k) {
        if ((g.hitFirst[k] == i && g.hitSecond[k] == j) || (g.hitFirst[k] == j && g.hitSecond[k] == i))
            return true;
    }
    return false;
}

// How fast pieces i and j close on each other, for whoever sounds the
// contact; nothing is computed when the shot reports nothing.
float closingSpeed(const GameContext& ctx, int i, int j) {
    if (ctx.shotEvents == nullptr) return 0;
    const Field& f = ctx.field;
    return float(std::hypot(double(f.velocityX[i]) - double(f.velocityX[j]), double(f.velocityY[i]) - double(f.velocityY[j])));
}

// The first contact of a pair in this shot: points, a kill by the shooting
// killer, the log entry (from the 21st pair on, entry 20 is overwritten).
void recordNewPair(const GameContext& ctx, int i, int j) {
    GameState& g = ctx.g;
    const float strength = closingSpeed(ctx, i, j);
    ctx.report(ShotEventKind::Contact, i, j, strength);
    addPoints(g.score[g.currentTurn], 10);
    const int shooter = g.currentTurn;
    if (g.isKiller[shooter] && (i == shooter || j == shooter)) {
        ctx.report(ShotEventKind::Kill, i == shooter ? j : i, shooter, strength);
        g.dead[i == shooter ? j : i] = true;
        ++g.killCount;
        addPoints(g.score[shooter], 100);
    }
    g.hitCount = g.hitCount + 1 > kHitLogSize ? kHitLogSize : g.hitCount + 1;
    g.hitFirst[g.hitCount] = i;
    g.hitSecond[g.hitCount] = j;
}

// Pieces with any velocity part not exactly 0 (leftovers of resting pieces
// count).
int piecesWithVelocity(const GameState& g, const Field& f) {
    int m = 0;
    const int n = g.numberOfPlayers < kMaxPlayers ? g.numberOfPlayers : kMaxPlayers;
    for (int k = 1; k <= n; ++k)
        if (f.velocityX[k] != 0 || f.velocityY[k] != 0) ++m;
    return m;
}

}  // namespace

void touch(GameContext& ctx, int i, int j, const Overlap& o) {
    GameState& g = ctx.g;
    Field& f = ctx.field;
    const Box& a = f.board.pieces[i];
    const Box& b = f.board.pieces[j];

    const bool isNew = !pairLogged(g, i, j);
    if (isNew) recordNewPair(ctx, i, j);

    const double d = std::sqrt(o.D2);
    const double mx = (o.xi + o.xj) / 2;
    const double my = (o.yi + o.yj) / 2;
    // Coinciding centres (d = 0) have no line between them: the offsets
    // of the last contact are kept and give the push its direction.
    assignDouble(f.ox, o.R * (o.ddx / d) / 2);
    assignDouble(f.oy, o.R * (o.ddy / d) / 2);
    const double ox = f.ox;
    const double oy = f.oy;

    // Each piece is pushed towards its target centre, R apart from the
    // other's and symmetric about the midpoint.
    assignFloat(f.velocityX[i], double(f.velocityX[i]) + ((mx + ox) - (double(a.left) + double(a.width) / 2)));
    assignFloat(f.velocityY[i], double(f.velocityY[i]) + ((my + oy) - (double(a.top) + double(a.height) / 2)));
    assignFloat(f.velocityX[j], double(f.velocityX[j]) + ((mx - ox) - (double(b.left) + double(b.width) / 2)));
    assignFloat(f.velocityY[j], double(f.velocityY[j]) + ((my - oy) - (double(b.top) + double(b.height) / 2)));

    if (isNew) {
        // More pieces move at once: fewer yields per step keep the pace
        // of a cycle. With no piece moving there is nothing to scale.
        const int m = piecesWithVelocity(g, f);
        if (m != 0) assignDouble(f.stepDelay, f.stepDelay * double(m - 1) / double(m));
    }
}

}  // namespace capzel::engine
