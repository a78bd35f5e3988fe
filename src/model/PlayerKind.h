// Who sits in a player's seat: a person, or the computer at one of three
// levels of play. Every seat is a person unless a game says otherwise.
#pragma once

namespace capzel {

enum class PlayerKind { Human, Novice, Club, Expert };

}  // namespace capzel
