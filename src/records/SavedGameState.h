// Between the running game and a SavedGame: gathering what a save writes,
// and applying what a load read.
#pragma once

#include "model/Game.h"
#include "model/GameSetup.h"
#include "records/SavedGame.h"

namespace capzel {

// The values a save writes: the number of players, the current turn, and
// for each player the fifteen values of the state plus the piece's place and
// size as its shape has them now, and who plays the seat. Values are brought into the file's ranges
// so that the file always loads again:
//  - piece geometry is rounded to whole numbers, halves to the even
//    neighbour, then held to 1..9390 twips (sizes) and -20000..20000 twips
//    (places); the score is kept whole (the writer puts it in the score line
//    held to -32768..32767 and in full after the players' lines);
//  - friction is held to 0..100 (a friction that is not a number is
//    written as 98, the Normal level), the colour to 0..16777215, the
//    position to 0..32767;
//  - a current turn outside 1..players is written as 1, where the turn
//    start would take it anyway.
// With no game started (0 players) the turn is written as it stands.
SavedGame gatherSavedGame(const Game& g);

// The setup of a checked saved game: the current turn, every player's
// values and seat, each piece's place and size. A saved game does not say
// whether the walls are in play: they stay as they are.
GameSetup savedGameSetup(const SavedGame& game);

// Builds that game on the running one (model/GameSetup.h). The music, the
// status window and the first turn are the caller's.
void applySavedGame(Game& g, const SavedGame& game);

}  // namespace capzel
