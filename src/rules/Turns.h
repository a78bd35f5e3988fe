// The turn rules: turn start, end of game, and the judging of a finished
// shot for ordinary players and for killers. Messages go through the
// platform as modal boxes titled "Capzel" with an OK button.
#pragma once

#include <cstdint>

#include "model/GameContext.h"

namespace capzel {

// Starts the turn of player `Turn` (skips dead players, brings a new piece
// onto box 1, takes a lost turn, announces the turn).
void Start_Turn(GameContext& ctx, std::int16_t Turn);

// Ends a won game: opens the high-score window, GameRunning = false.
void End_game(GameContext& ctx);

// Judges the finished shot of a player who is not a killer.
void End_In_Box(GameContext& ctx);

// Judges the finished shot of a killer.
void End_In_Box__KILLER(GameContext& ctx);

// Hands a finished shot to the rules as "Go" does once the pieces rest:
// End_In_Box__KILLER when the shooter is a killer (the flag as the shot left
// it), End_In_Box otherwise.
void judgeFinishedShot(GameContext& ctx);

}  // namespace capzel
