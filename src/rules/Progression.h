// Judging the finished shot of a player who is not a killer: targets
// reached, hits and pieces sent on move the shooter on.
#pragma once

#include "model/GameContext.h"
#include "rules/GameFlow.h"

namespace capzel {

GameFlow judgeOrdinaryShot(GameContext& ctx);

}  // namespace capzel
