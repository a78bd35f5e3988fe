// Telling the players what the rules announced when nothing runs: after a
// command, a new game or a load, each announcement is a box of its own, in
// order, through the platform.
#pragma once

#include "platform/Platform.h"
#include "rules/Announcement.h"

namespace capzel {

inline GameFlow tellPlayers(Platform& ui, const Judgement& judgement) {
    for (const Announcement& a : judgement.announcements) ui.message(a.text);
    return judgement.flow;
}

}  // namespace capzel
