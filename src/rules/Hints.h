// What the field marks between shots so that nobody has to ask whose turn
// it is and where to go: the current player's piece, the region the rules
// will look for that piece in after the shot, and for a killer the pieces a
// touch would kill. Worked out from the game state each time the field is
// drawn; nothing is kept.
#pragma once

#include <array>
#include <optional>

#include "model/Game.h"

namespace capzel {

struct FieldHints {
    int piece = 0;               // the current player's piece; 0: no marks at all
    std::optional<Box> target;   // the next target region (never for a killer)
    std::array<bool, kMaxPlayers + 1> prey{};  // pieces the killer can take
    Color colour = 0;            // of the marks: stands out from the piece and the field
};

// Marks only between shots: a game runs, no shot is under way and the bar
// is not charging, and the current player is alive.
FieldHints fieldHints(const Game& g, const Board& board, bool charging);

}  // namespace capzel
