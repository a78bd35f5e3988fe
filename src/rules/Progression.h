// Judging the finished shot of a player who is not a killer: targets
// reached, hits and pieces sent on move the shooter on.
#pragma once

#include "model/GameContext.h"
#include "rules/Announcement.h"

namespace capzel {

Judgement judgeOrdinaryShot(GameContext& ctx);

}  // namespace capzel
