// What the game's procedures work on: the shared state, the main window's
// field, and the platform through which they talk to the players.
#pragma once

#include "model/Field.h"
#include "model/GameState.h"
#include "model/ShotEvent.h"
#include "platform/Platform.h"

namespace capzel {

struct GameContext {
    GameState& g;
    Field& field;
    Platform& ui;
    ShotEvents* shotEvents = nullptr;  // where a shot reports what happened; none: nowhere

    void report(const ShotEvent& event) const {
        if (shotEvents) shotEvents->push_back(event);
    }

    Board& board() const { return field.board; }
    Box& piece(int i) const { return field.board.pieces[i]; }
};

}  // namespace capzel
