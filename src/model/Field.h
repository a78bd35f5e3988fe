// The field a game is played on: the board's shapes and pieces, the
// pieces' speeds and the engine values kept between steps and contacts.
#pragma once

#include <array>
#include <string>

#include "model/Board.h"

namespace capzel {

// The main window's own state: its field and the engine values it owns. It
// is created anew with the main window by every new game.
struct Field {
    Board board = makeBoardLayout();
    std::array<float, kMaxPlayers + 1> velocityX{};
    std::array<float, kMaxPlayers + 1> velocityY{};
    double ox = 0;         // half-offsets of the last contact, kept between contacts
    double oy = 0;
};

}  // namespace capzel
