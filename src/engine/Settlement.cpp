#include "engine/Settlement.h"

#include "engine/Assign.h"
#include "model/Numbers.h"
#include "model/Placement.h"

namespace capzel::engine {

void settleShot(GameContext& ctx) {
    GameState& g = ctx.g;
    Board& board = ctx.board();
    const int n = g.numberOfPlayers < kMaxPlayers ? g.numberOfPlayers : kMaxPlayers;
    const int shooter = g.currentTurn;
    for (int i = 1; i <= n; ++i) {
        if (g.position[shooter] > 0) g.inGame[i] = !g.dead[i];

        if (!g.isKiller[i] && i != shooter && g.inGame[i]) {
            // A next target without a region (a position set by hand beyond
            // the course) holds no piece.
            const int next = g.position[i] + 1;
            if (next >= 1 && next <= kSpotCount && strictlyInside(board.pieces[i], board.spots[next])) {
                addPoints(g.score[shooter], 15);
                ++g.sentCount;
                g.position[i] = next;
                ctx.report({ShotEventKind::SentToTarget, i, next});
            }
        }

        if (g.dead[i] && !g.inGame[i]) {
            // Dead pieces stand in a column in the holder: the last player
            // at the top slot, player 1 at the bottom one.
            Box& holder = board.pieceHolder;
            Box& p = board.pieces[i];
            holder.visible = true;
            ctx.report({ShotEventKind::SentToHolder, i});
            assignFloat(p.left, double(holder.left) + double(p.width) / 4);
            assignFloat(p.top, double(holder.top) + double(p.height) / 4 + double(n - i) * double(p.height));
        }
    }
}

}  // namespace capzel::engine
