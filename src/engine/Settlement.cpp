#include "engine/Settlement.h"

#include "engine/Assign.h"
#include "model/Numbers.h"
#include "model/Placement.h"

namespace capzel::engine {

void settleShot(GameContext& ctx) {
    Game& g = ctx.game;
    Board& board = ctx.board();
    const int n = g.numberOfPlayers < kMaxPlayers ? g.numberOfPlayers : kMaxPlayers;
    const int shooter = g.currentTurn;
    for (int i = 1; i <= n; ++i) {
        if (g.seats[shooter].position > 0) g.seats[i].inGame = !g.seats[i].dead;

        if (!g.seats[i].isKiller && i != shooter && g.seats[i].inGame) {
            // A next target without a region (a position set by hand beyond
            // the course) holds no piece.
            const int next = g.seats[i].position + 1;
            if (next >= 1 && next <= kSpotCount && strictlyInside(board.pieces[i], board.spots[next])) {
                addPoints(g.seats[shooter].score, 15);
                ++g.sentCount;
                g.seats[i].position = next;
                ctx.report({ShotEventKind::SentToTarget, i, next});
            }
        }

        if (g.seats[i].dead && !g.seats[i].inGame) {
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
