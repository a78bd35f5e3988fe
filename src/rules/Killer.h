// Judging the finished shot of a killer: the pieces it touched are dead.
#pragma once

#include "model/GameContext.h"
#include "rules/Announcement.h"

namespace capzel {

Judgement judgeKillerShot(GameContext& ctx);

}  // namespace capzel
