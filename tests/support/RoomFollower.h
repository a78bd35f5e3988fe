// A player's program following an online room with no window: the game the
// server's state holds, every accepted shot played on it through the
// rulebook, and its hash compared with the server's.
#pragma once

#include <optional>

#include "match/Match.h"
#include "players/PlannedShot.h"
#include "protocol/Messages.h"
#include "records/GameText.h"

namespace capzel::test {

struct RoomFollower {
    Match match;
    int shots = 0;  // as the server counts them

    const Game& game() const { return match.game(); }

    // The server's game; false when its text is refused.
    bool take(const protocol::State& state) {
        const std::optional<Game> served = readGameText(state.gameText, nullptr);
        if (!served) return false;
        match = Match(*served);
        shots = state.shotNumber;
        return true;
    }
    // Plays the server's next shot; false when it is not the next one, is
    // refused here or ends elsewhere than at the server.
    bool follow(const protocol::Accepted& accepted) {
        if (accepted.shot.shotNumber != shots + 1) return false;
        const Played played = match.play(static_cast<const ShotCommand&>(accepted.shot.inputs));
        ++shots;
        return played.taken() && played.outcome.hash == accepted.shot.inputs.outcome.hash;
    }
    // The next shot of the player whose turn it is, as a player aims it.
    protocol::Shot shot(const players::PlannedShot& planned) const {
        return protocol::Shot{shots + 1, RecordedShot{players::plannedShotCommand(game(), planned), {}}};
    }
    // From the piece's centre along `angle`, the bar stopped after `ticks`.
    protocol::Shot shotAlong(double angle, int ticks) const { return shot(players::shotAlong(game(), angle, ticks)); }
};

}  // namespace capzel::test
