// Small helpers shared by the turn rules: the players of the running game
// that the tables can hold.
#pragma once

#include <algorithm>
#include <cstdint>

#include "model/GameContext.h"

namespace capzel::rules {

// The highest player number the running game uses, never beyond the tables:
// an edited save cannot make the rules read past player 8. 0 means no player.
inline int lastPlayer(const Game& g) {
    return std::clamp<int>(g.numberOfPlayers, 0, kMaxPlayers);
}

// True when every player of the game other than `shooter` is dead. A piece
// still waiting in the holder belongs to a living player.
inline bool othersAllDead(const Game& g, int shooter) {
    for (int i = 1; i <= lastPlayer(g); ++i) {
        if (i != shooter && !g.seats[i].dead) return false;
    }
    return true;
}

}  // namespace capzel::rules
