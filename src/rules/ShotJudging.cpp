#include "rules/Killer.h"
#include "rules/Progression.h"
#include "rules/ShotJudging.h"

namespace capzel {

Judgement judgeFinishedShot(GameContext& ctx) {
    GameState& g = ctx.g;
    ++g.shotsTaken;
    if (g.isPlayer(g.currentTurn) && g.isKiller[g.currentTurn])
        return judgeKillerShot(ctx);
    return judgeOrdinaryShot(ctx);
}

}  // namespace capzel
