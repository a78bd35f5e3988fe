// The state a saved game carries, as JSON: what `capzel-sim --load` prints
// and what `capzel-sim --save` reads.
//
//   { "number_of_players": 2, "current_turn": 2,
//     "players": [ { "name": "Ann", "dead": false, "in_game": true,
//                    "is_killer": false, "on_letters": false, "losing_turn": false,
//                    "moveable_next_turn": false, "heading_in_reverse": false,
//                    "friction": 98.0, "score": 260, "color": 16777215,
//                    "height": 300, "left": 4600, "top": 620, "width": 300,
//                    "position": 5 }, ... ] }
#pragma once

#include <string>
#include <string_view>

#include "model/GameContext.h"

namespace capzel::sim {

// The number of players, the current turn and every player's saved values,
// with the piece's place and size in whole twips. The same state always
// gives the same bytes.
std::string describeSavedState(const Game& g);

// Sets the game state and the pieces from that JSON, every key required and
// none other; numbers must fit the tables of the game state. Throws
// InputError naming the field.
void setUpFromSavedState(std::string_view text, Game& g);

}  // namespace capzel::sim
