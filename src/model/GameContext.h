// What the game's procedures work on: the game, and the platform through
// which they talk to the players.
#pragma once

#include "model/Game.h"
#include "model/ShotEvent.h"
#include "platform/Platform.h"

namespace capzel {

struct GameContext {
    Game& game;
    Platform& ui;
    ShotEvents* shotEvents = nullptr;  // where a shot reports what happened; none: nowhere

    void report(const ShotEvent& event) const {
        if (shotEvents) shotEvents->push_back(event);
    }

    Board& board() const { return game.board; }
    Box& piece(int i) const { return game.board.pieces[i]; }
};

}  // namespace capzel
