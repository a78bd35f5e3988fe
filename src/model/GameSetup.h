// How every game is built, whoever asks for it: the new-game dialog, a
// load or a resume, the simulator, the scenario corpus, the tests and the
// benchmarks. A setup names the players in their seats, whether the walls
// are in play, whose turn it is and, for a game that is already under way,
// where each piece stands and how far each player has come.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/Game.h"
#include "model/PlayerKind.h"
#include "model/Shapes.h"

namespace capzel {

// A piece put on the field by the setup, in twips.
struct PiecePlace {
    float left = 0;
    float top = 0;
    float width = 300;
    float height = 300;
};

struct SeatSetup {
    std::string name;
    std::optional<Color> color;  // none: the piece keeps the colour it has
    float friction = 98;         // percent of its speed the piece keeps per step
    std::int32_t score = 0;
    PlayerKind kind = PlayerKind::Human;

    // How far the player has come; nothing yet in a new game.
    int position = 0;
    bool inGame = false;
    bool dead = false;
    bool isKiller = false;
    bool onLetters = false;
    bool headingInReverse = false;
    bool moveableNextTurn = false;
    bool losingTurn = false;

    // Where the piece stands; none: it waits in the piece holder.
    std::optional<PiecePlace> piece;
};

struct GameSetup {
    std::vector<SeatSetup> seats;  // player i sits in seats[i - 1]; 1 to 8 of them
    std::optional<bool> walls;     // walls 1 to 8 in play; none: as they stand (a saved game has no say)
    std::int16_t currentTurn = 1;
};

// Builds the game of `setup` on the state and the field: the game runs, the
// per-game tables are made anew and every seat's values are set, from the
// first seat to the last. Pieces beyond the seats are hidden. The pieces
// that wait are stacked in the holder (the last player's at the top), which
// is as high as the seats need and shown while any piece waits; a new game,
// whose pieces all wait, also sizes its width and ends any shot. A piece
// with a place stands there in its player's colour. Walls 1 to 8 follow
// the setup; walls 9 and 10 stand outside the field and are left alone.
// Music starts again from song 1. Nothing is announced: the caller starts
// the turn.
void buildGame(Game& g, const GameSetup& setup);

// Every player's piece in its player's colour, as the window paints them
// when it shows the game (a piece waiting in the holder has kept the colour
// it had). A game begins so.
void paintPlayerColors(Game& g);

}  // namespace capzel
