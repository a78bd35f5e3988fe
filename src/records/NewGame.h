// What "Play" in the new-game dialog does to the game state and the field:
// the choices of the dialog as plain values, and their application.
#pragma once

#include <array>
#include <string>

#include "model/Friction.h"
#include "model/GameContext.h"

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

// Sets up a new game on the model, in the dialog's order: gameRunning true,
// numberOfPlayers, new per-game tables, the piece holder sized from piece 1
// (1.5 pieces wide, players + 0.5 pieces high), the pieces stacked in it and
// shown (the last player's at the top, player 1's at the bottom), each
// player's friction and starting score, colour, name and cleared per-game
// flags and who plays the seat, pieces beyond the players hidden, wallsOn with walls 1 to 8 shown or
// hidden (9 and 10 untouched), shotInProgress false, currentTurn 1 and
// songNumber 1. Entries of the fixed tables beyond the players keep their
// values. `ctx.field` must be the new main window's field. The caller then
// places the main window (its activation paints the pieces), starts the
// music, shows the status window and starts the turn of player 1.
void applyNewGame(GameContext& ctx, const NewGameSettings& settings);

}  // namespace capzel
