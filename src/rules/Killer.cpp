// Killer rules: judges the finished shot of a killer. The kills themselves
// happened during the shot; here the killer either wins, shoots again (from
// the centre of the box the piece rests in, or from where it rests), or
// gives up the turn.

#include <string>

#include "model/Placement.h"
#include "rules/TurnPassing.h"
#include "rules/Killer.h"
#include "rules/TurnStart.h"

namespace capzel {

namespace {

// The smallest region number whose region holds the killer's piece strictly
// inside, or 0. Boxes 1, 4, 10 and 11 are slightly smaller than their twins
// on the way back (25, 22, 16, 15), so a piece can lie inside region 15 but
// not inside region 11; the box found is then 15, named by its label "11".
int boxOfKiller(GameContext& ctx) {
    const Box& piece = ctx.piece(ctx.game.currentTurn);
    for (int k = 1; k <= kSpotCount; ++k) {
        if (strictlyInside(piece, ctx.board().spots[k])) return k;
    }
    return 0;
}

std::string plural(int count, const char* suffix) { return count > 1 ? suffix : ""; }

}  // namespace

Judgement judgeKillerShot(GameContext& ctx) {
    Game& g = ctx.game;
    Judgement out;
    if (!g.isPlayer(g.currentTurn)) return out;  // no shooter to judge
    const int cur = g.currentTurn;
    const std::string& name = g.seats[cur].name;
    const bool won = rules::othersAllDead(g, cur);

    const int k = boxOfKiller(ctx);
    if (k != 0) {
        std::string m = name + " reached box " + spotLabel(k) + ".  ";
        if (g.hitCount > 0) {
            m += std::to_string(g.killCount) + " kill" + plural(g.killCount, "s") + " on the way.  ";
        }
        g.seats[cur].position = k;
        if (won) {
            out.announce(AnnouncementKind::Win, cur, m + "\r\n" + name + " WON!");
            out.flow = endGame(ctx);
            return out;
        }
        out.announce(AnnouncementKind::Kill, cur, m + "Killer may continue.");
        centrePieceOn(ctx.piece(cur), ctx.board().spots[k]);
        g.seats[cur].moveableNextTurn = true;
        return out;
    }

    if (g.hitCount == 0) {
        g.seats[cur].moveableNextTurn = false;
        return rules::passTurn(ctx);
    }

    const std::string kills = std::to_string(g.killCount);
    if (won) {
        out.announce(AnnouncementKind::Win, cur, name + " killed " + kills + " player" + plural(g.killCount, "s") + ". " + name + " WON!");
        out.flow = endGame(ctx);
        return out;
    }
    out.announce(AnnouncementKind::Kill, cur, name + " killed " + kills + ".  Killer may continue.");
    g.seats[cur].moveableNextTurn = false;
    return out;
}

}  // namespace capzel
