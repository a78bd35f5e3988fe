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
    std::string typedKeys;  // partial access word of the hidden menu

    // Menu states that live as long as the window.
    bool hiddenMenuVisible = false;
    bool guideItemVisible = false;
    bool guideLinesChecked = false;
    bool loopChecked = false;
};

}  // namespace capzel
