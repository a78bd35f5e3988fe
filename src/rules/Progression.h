// Judging the finished shot of a player who is not a killer: targets
// reached, hits and pieces sent on move the shooter on.
#pragma once

#include "model/GameContext.h"
#include "rules/Announcement.h"

namespace capzel {

Judgement judgeOrdinaryShot(GameContext& ctx);

// Whether the current player's piece lies in that player's next target, as
// the judging of a shot finds it. A next target outside the course (a
// Position set by hand to 29 or more, or below 0) is never reached.
bool inNextTarget(GameContext& ctx);

}  // namespace capzel
