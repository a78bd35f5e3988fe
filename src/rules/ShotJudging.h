// Hands a finished shot to the rules as "Go" does once the pieces rest:
// the killer's rules when the shooter is a killer (the flag as the shot left
// it), the ordinary ones otherwise.
#pragma once

#include "model/GameContext.h"
#include "rules/Announcement.h"

namespace capzel {

Judgement judgeFinishedShot(GameContext& ctx);

}  // namespace capzel
