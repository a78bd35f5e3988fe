// The end of a shot: the board is settled once every piece rests.
#pragma once

#include "model/GameContext.h"

namespace capzel::engine {

// For each player in order: once the shooter has entered the board, a piece
// is in the game exactly when it is not dead; another player's piece left
// strictly inside its next target advances that player by one target and
// gives the shooter 15 points; a dead piece goes to its slot in the piece
// holder, which is shown.
void settleShot(GameContext& ctx);

}  // namespace capzel::engine
