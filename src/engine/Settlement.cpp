#include "engine/Settlement.h"

#include "engine/Assign.h"
#include "model/Numbers.h"
#include "model/Placement.h"

namespace capzel::engine {

void settleShot(GameContext& ctx) {
    modCapzel& g = ctx.g;
    Board& board = ctx.board();
    const int n = g.NumberOfPlayers < kMaxPlayers ? g.NumberOfPlayers : kMaxPlayers;
    const int shooter = g.CurrentTurn;
    for (int i = 1; i <= n; ++i) {
        if (g.Position[shooter] > 0) g.InGame[i] = !g.Dead[i];

        if (!g.IsKiller[i] && i != shooter && g.InGame[i]) {
            // A next target without a region (a position set by hand beyond
            // the course) holds no piece.
            const int next = g.Position[i] + 1;
            if (next >= 1 && next <= kSpotCount && StrictlyInside(board.Player[i], board.Spot[next])) {
                addPoints(g.Score[shooter], 15);
                ++g.SentCount;
                g.Position[i] = next;
            }
        }

        if (g.Dead[i] && !g.InGame[i]) {
            // Dead pieces stand in a column in the holder: the last player
            // at the top slot, player 1 at the bottom one.
            Box& holder = board.PieceHolder;
            Box& p = board.Player[i];
            holder.Visible = true;
            assignFloat(p.Left, double(holder.Left) + double(p.Width) / 4);
            assignFloat(p.Top, double(holder.Top) + double(p.Height) / 4 + double(n - i) * double(p.Height));
        }
    }
}

}  // namespace capzel::engine
