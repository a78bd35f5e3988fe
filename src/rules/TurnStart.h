// The start of a turn and the end of the game. What they announce comes
// back as data (rules/Announcement.h); they show nothing themselves.
#pragma once

#include <cstdint>

#include "model/GameContext.h"
#include "rules/Announcement.h"

namespace capzel {

// Starts the turn of the requested player (skips dead players, brings a new
// piece onto box 1, takes a lost turn, announces the turn).
Judgement startTurn(GameContext& ctx, std::int16_t requestedTurn);

// Ends the game: gameRunning = false. Gives GameFlow::Ended.
GameFlow endGame(GameContext& ctx);

namespace rules {

// The current player's turn is over: the next player's turn starts now.
// startTurn wraps past the last player and skips the dead.
Judgement passTurn(GameContext& ctx);

}  // namespace rules

}  // namespace capzel
