#include "session/RemoteGame.h"

#include "records/SnapshotText.h"
#include "session/RecordReplay.h"

namespace capzel {

bool RemoteGame::applyState(const protocol::State& state, std::string* error) {
    const std::optional<GameSnapshot> snapshot = readSnapshot(state.snapshot, error);
    if (!snapshot) return false;
    turn_.drop();
    g_ = GameState{};
    field_ = Field{};
    applySnapshot(*snapshot, g_, field_);
    shots_ = state.shotNumber;
    hasGame_ = true;
    return true;
}

bool RemoteGame::playAccepted(const protocol::Accepted& accepted) {
    const RecordedShot& shot = accepted.shot.inputs;
    if (!hasGame_ || accepted.shot.shotNumber != shots_ + 1 || !g_.gameRunning || shot.seat != g_.currentTurn)
        return false;
    const std::string why = playShotThrough(turn_, g_, field_, shot, [](const CommandInput&) {});
    const EntryOutcome here{gameHash(g_, field_), turn_.takeAnnouncements()};
    shots_ = accepted.shot.shotNumber;
    return why.empty() && here == shot.outcome;
}

std::uint64_t RemoteGame::hash() const { return gameHash(g_, field_); }

}  // namespace capzel
