#include "engine/ContactPass.h"

#include <cmath>

#include "engine/Assign.h"
#include "model/Numbers.h"

namespace capzel::engine {

namespace {

bool pairLogged(const modCapzel& g, int i, int j) {
    for (int k = 1; k <= kHitLogSize; ++k) {
        if ((g.HitFirst[k] == i && g.HitSecond[k] == j) || (g.HitFirst[k] == j && g.HitSecond[k] == i))
            return true;
    }
    return false;
}

// The first contact of a pair in this shot: points, a kill by the shooting
// killer, the log entry (from the 21st pair on, entry 20 is overwritten).
void recordNewPair(modCapzel& g, int i, int j) {
    addPoints(g.Score[g.CurrentTurn], 10);
    const int shooter = g.CurrentTurn;
    if (g.IsKiller[shooter] && (i == shooter || j == shooter)) {
        g.Dead[i == shooter ? j : i] = true;
        ++g.KillCount;
        addPoints(g.Score[shooter], 100);
    }
    g.HitCount = g.HitCount + 1 > kHitLogSize ? kHitLogSize : g.HitCount + 1;
    g.HitFirst[g.HitCount] = i;
    g.HitSecond[g.HitCount] = j;
}

// Pieces with any velocity part not exactly 0 (leftovers of resting pieces
// count).
int piecesWithVelocity(const modCapzel& g, const Field& f) {
    int m = 0;
    const int n = g.NumberOfPlayers < kMaxPlayers ? g.NumberOfPlayers : kMaxPlayers;
    for (int k = 1; k <= n; ++k)
        if (f.VelocityX[k] != 0 || f.VelocityY[k] != 0) ++m;
    return m;
}

}  // namespace

void contactPass(GameContext& ctx, int i) {
    modCapzel& g = ctx.g;
    Field& f = ctx.field;
    const std::array<Box, kMaxPlayers + 1>& pieces = f.board.Player;
    const int n = g.NumberOfPlayers < kMaxPlayers ? g.NumberOfPlayers : kMaxPlayers;
    for (int j = 1; j <= n; ++j) {
        if (j == i || !g.InGame[j]) continue;
        const Box& a = pieces[i];
        const Box& b = pieces[j];
        // The radius is half the width, for y as well.
        const double ri = double(a.Width) / 2;
        const double rj = double(b.Width) / 2;
        const double xi = double(a.Left) + ri;
        const double yi = double(a.Top) + ri;
        const double xj = double(b.Left) + rj;
        const double yj = double(b.Top) + rj;
        const double R = ri + rj;
        const double ddx = xi - xj;
        const double ddy = yi - yj;
        const double D2 = ddx * ddx + ddy * ddy;
        if (!(D2 < R * R)) continue;

        const bool isNew = !pairLogged(g, i, j);
        if (isNew) recordNewPair(g, i, j);

        const double d = std::sqrt(D2);
        const double mx = (xi + xj) / 2;
        const double my = (yi + yj) / 2;
        // Coinciding centres (d = 0) have no line between them: the offsets
        // of the last contact are kept and give the push its direction.
        assignDouble(f.ox, R * (ddx / d) / 2);
        assignDouble(f.oy, R * (ddy / d) / 2);
        const double ox = f.ox;
        const double oy = f.oy;

        // Each piece is pushed towards its target centre, R apart from the
        // other's and symmetric about the midpoint. Places do not change.
        assignFloat(f.VelocityX[i], double(f.VelocityX[i]) + ((mx + ox) - (double(a.Left) + double(a.Width) / 2)));
        assignFloat(f.VelocityY[i], double(f.VelocityY[i]) + ((my + oy) - (double(a.Top) + double(a.Height) / 2)));
        assignFloat(f.VelocityX[j], double(f.VelocityX[j]) + ((mx - ox) - (double(b.Left) + double(b.Width) / 2)));
        assignFloat(f.VelocityY[j], double(f.VelocityY[j]) + ((my - oy) - (double(b.Top) + double(b.Height) / 2)));

        if (isNew) {
            // More pieces move at once: fewer yields per step keep the pace
            // of a cycle. With no piece moving there is nothing to scale.
            const int m = piecesWithVelocity(g, f);
            if (m != 0) assignDouble(f.StepDelay, f.StepDelay * double(m - 1) / double(m));
        }
    }
}

}  // namespace capzel::engine
