// The turn rules: turn start, end of game, and the judging of a finished
// shot for ordinary players and for killers. Messages go through the
// platform as modal boxes titled "Capzel" with an OK button.
#pragma once

#include <cstdint>

#include "model/GameContext.h"

namespace capzel {

// What a rule call left of the game: it goes on, or it has just ended (won,
// or nobody left alive). The caller of a call that ended the game shows the
// high-score table.
enum class GameFlow { Continues, Ended };

// Starts the turn of player `Turn` (skips dead players, brings a new piece
// onto box 1, takes a lost turn, announces the turn).
GameFlow startTurn(GameContext& ctx, std::int16_t requestedTurn);

// Ends the game: gameRunning = false. Gives GameFlow::Ended.
GameFlow endGame(GameContext& ctx);

// Judges the finished shot of a player who is not a killer.
GameFlow judgeOrdinaryShot(GameContext& ctx);

// Judges the finished shot of a killer.
GameFlow judgeKillerShot(GameContext& ctx);

// Hands a finished shot to the rules as "Go" does once the pieces rest:
// judgeKillerShot when the shooter is a killer (the flag as the shot left
// it), judgeOrdinaryShot otherwise.
GameFlow judgeFinishedShot(GameContext& ctx);

}  // namespace capzel
