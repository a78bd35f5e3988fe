// Telling the players what the rules announced when nothing runs: after a
// command, a new game or a load, each announcement is a box of its own, in
// order, through the platform.
#pragma once

#include "model/WindowState.h"
#include "platform/Platform.h"
#include "rules/Announcement.h"

namespace capzel {

inline GameFlow tellPlayers(Platform& ui, const Judgement& judgement) {
    for (const Announcement& a : judgement.announcements) ui.message(a.text);
    return judgement.flow;
}

// A turn start's pieces come to the front, each followed by the aim line.
inline void bringForward(DrawingOrder& order, const Judgement& judgement) {
    for (int piece : judgement.broughtForward) {
        order.raisePiece(piece);
        order.raisePointer();
    }
}

}  // namespace capzel
