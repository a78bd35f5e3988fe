// The start of a turn and the end of the game. Messages go through the
// platform as modal boxes titled "Capzel" with an OK button.
#pragma once

#include <cstdint>

#include "model/GameContext.h"
#include "rules/GameFlow.h"

namespace capzel {

// Starts the turn of the requested player (skips dead players, brings a new
// piece onto box 1, takes a lost turn, announces the turn).
GameFlow startTurn(GameContext& ctx, std::int16_t requestedTurn);

// Ends the game: gameRunning = false. Gives GameFlow::Ended.
GameFlow endGame(GameContext& ctx);

namespace rules {

// The current player's turn is over: the next player's turn starts now.
// startTurn wraps past the last player and skips the dead.
GameFlow passTurn(GameContext& ctx);

}  // namespace rules

}  // namespace capzel
