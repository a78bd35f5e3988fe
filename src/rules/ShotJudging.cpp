#include "rules/Turns.h"

namespace capzel {

void judgeFinishedShot(GameContext& ctx) {
    modCapzel& g = ctx.g;
    ++g.shotsTaken;
    if (g.isPlayer(g.CurrentTurn) && g.IsKiller[g.CurrentTurn])
        End_In_Box__KILLER(ctx);
    else
        End_In_Box(ctx);
}

}  // namespace capzel
