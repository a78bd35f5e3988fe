#include "rules/Killer.h"
#include "rules/Progression.h"
#include "rules/ShotJudging.h"

namespace capzel {

Judgement judgeFinishedShot(GameContext& ctx) {
    Game& g = ctx.game;
    ++g.shotsTaken;
    if (g.isPlayer(g.currentTurn) && g.seats[g.currentTurn].isKiller)
        return judgeKillerShot(ctx);
    return judgeOrdinaryShot(ctx);
}

}  // namespace capzel
