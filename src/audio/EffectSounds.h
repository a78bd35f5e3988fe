// What each sound effect of the game sounds like: strokes of the General
// MIDI percussion kit, struck together. A piece on a piece clicks like
// wood, a wall knocks lower, the board's edge thumps, a target rings a
// triangle, a kill crashes a cymbal, and a win adds a bell and a splash to
// the crash.
#pragma once

#include <vector>

#include "platform/Platform.h"

namespace capzel::ui {

inline std::vector<int> percussionKeys(SoundEffect effect) {
    switch (effect) {
    case SoundEffect::PieceHit:
        return {76};  // hi wood block
    case SoundEffect::WallHit:
        return {77};  // low wood block
    case SoundEffect::EdgeHit:
        return {41};  // low floor tom
    case SoundEffect::Target:
        return {81};  // open triangle
    case SoundEffect::Kill:
        return {49};  // crash cymbal
    case SoundEffect::Win:
        return {57, 53, 55};  // crash cymbal 2, ride bell, splash cymbal
    }
    return {};
}

}  // namespace capzel::ui
