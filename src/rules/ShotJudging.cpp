#include "rules/Turns.h"

namespace capzel {

GameFlow judgeFinishedShot(GameContext& ctx) {
    modCapzel& g = ctx.g;
    ++g.shotsTaken;
    if (g.isPlayer(g.CurrentTurn) && g.IsKiller[g.CurrentTurn])
        return End_In_Box__KILLER(ctx);
    return End_In_Box(ctx);
}

}  // namespace capzel
