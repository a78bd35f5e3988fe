// What applying a command gave: what the rules said (with whether the game
// goes on and the pieces a turn start brought forward), what the shot
// reported, and the hash of the game as the command left it.
#pragma once

#include <cstdint>

#include "model/ShotEvent.h"
#include "rules/Announcement.h"

namespace capzel {

struct Outcome : Judgement {
    ShotEvents events;
    std::uint64_t hash = 0;
    // The shooter's piece came to rest in its next target (never for a
    // killer, who has none): the window sounds it.
    bool shooterInTarget = false;
};

}  // namespace capzel
