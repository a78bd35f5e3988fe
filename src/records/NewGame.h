// What "Play" in the new-game dialog does to the game state and the field:
// the choices of the dialog as plain values, and their application.
#pragma once

#include <array>
#include <string>

#include "model/Friction.h"
#include "model/Game.h"
#include "model/GameSetup.h"

namespace capzel {

// The colour buttons' colours as the dialog opens (player 1 white, then red,
// orange, yellow, green, cyan, blue, magenta).
Color defaultPlayerColor(int player);

struct NewGameSettings {
    int players = 1;                                       // 1..8
    std::array<std::string, kMaxPlayers + 1> names{};      // 1..8; "Player i" as the dialog opens
    std::array<Color, kMaxPlayers + 1> colors{};           // 1..8
    std::array<FrictionLevel, kMaxPlayers + 1> friction{};  // 1..8; Normal as the dialog opens
    bool walls = true;
    std::array<PlayerKind, kMaxPlayers + 1> seats{};       // 1..8; who plays; Human as the dialog opens

    // The dialog's values as it opens.
    NewGameSettings();
};

// Builds the new game of the dialog's values (model/GameSetup.h): each
// player's name, colour, friction and its starting score, and who plays
// the seat; every piece waits in the holder; walls 1 to 8 as chosen; player
// 1's turn. Entries of the fixed tables beyond the players keep their
// values; the game should be a fresh one (a new field). The caller then
// starts the turn of player 1.
void applyNewGame(Game& g, const NewGameSettings& settings);

// The setup of that new game: every piece waits in the holder.
GameSetup newGameSetup(const NewGameSettings& settings);

}  // namespace capzel
