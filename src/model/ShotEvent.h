// What happened during a shot, as the engine reports it: the first contact
// of two pieces, a piece killed by the shooting killer, a piece sent into
// its next target by the shot, a dead piece sent back to the holder, and a
// piece bouncing off an inner wall or the board's edge.
// The rules judge from the game's tables; these events are for whoever
// shows, sounds or paces the shot.
#pragma once

#include <vector>

namespace capzel {

enum class ShotEventKind { Contact, Kill, SentToTarget, SentToHolder, WallBounce, EdgeBounce };

struct ShotEvent {
    ShotEventKind kind = ShotEventKind::Contact;
    int piece = 0;
    int other = 0;  // the other piece of a contact or a kill; the box reached when sent to a target
    int moving = 0;  // a contact: the pieces with any velocity once the pair was pushed apart
    // How hard a contact or a bounce was, in twips per step: the speed of
    // the two pieces towards each other, or the speed the bounce took
    // away; 0 for the other kinds.
    float strength = 0;
    bool operator==(const ShotEvent&) const = default;
};

using ShotEvents = std::vector<ShotEvent>;

}  // namespace capzel
