// The game of an online room as a player's program follows it: the whole
// game from the server's state message, then every shot the server accepted
// played here from its inputs, unpaced, as the server played it. The engine
// and the rules give the same result to the bit everywhere, so the hash and
// the announcements here must equal the server's; when they do not, the
// program asks for the state again.
#pragma once

#include <cstdint>
#include <string>

#include "controls/TurnController.h"
#include "model/Field.h"
#include "model/GameState.h"
#include "platform/SilentPlatform.h"
#include "protocol/Messages.h"

namespace capzel {

class RemoteGame {
public:
    RemoteGame() = default;
    RemoteGame(const RemoteGame&) = delete;
    RemoteGame& operator=(const RemoteGame&) = delete;

    // The game becomes the state's. False, with `error`, when its snapshot
    // cannot be read.
    bool applyState(const protocol::State& state, std::string* error = nullptr);
    // Plays an accepted shot. False when it is not the next shot, or when
    // what it gave here differs from the server's (the game is then out of
    // step until the next state).
    bool playAccepted(const protocol::Accepted& accepted);

    bool hasGame() const { return hasGame_; }
    int shotNumber() const { return shots_; }
    std::uint64_t hash() const;
    const GameState& state() const { return g_; }
    const Field& field() const { return field_; }

private:
    GameState g_;
    Field field_;
    SilentPlatform ui_;
    TurnController turn_{GameContext{g_, field_, ui_}};
    int shots_ = 0;
    bool hasGame_ = false;
};

}  // namespace capzel
