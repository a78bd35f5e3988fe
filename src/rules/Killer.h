// Judging the finished shot of a killer: the pieces it touched are dead.
#pragma once

#include "model/GameContext.h"
#include "rules/GameFlow.h"

namespace capzel {

GameFlow judgeKillerShot(GameContext& ctx);

}  // namespace capzel
