// A shot planned away from the board: planShot runs on a thread of its own,
// on copies of the game taken when the job starts, while the board goes on
// drawing and answering the players. The owner looks whether the plan is
// ready; a job that goes away before it is ready stops its search and waits
// for its thread, so nothing outlives the game it was planning for.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "model/Field.h"
#include "model/GameState.h"
#include "model/PlayerKind.h"
#include "players/Planner.h"

namespace capzel::players {

class PlanJob {
public:
    PlanJob(const GameState& g, const Field& field, PlayerKind level, std::uint64_t seed,
            PlannerOptions options = {});
    ~PlanJob();
    PlanJob(const PlanJob&) = delete;
    PlanJob& operator=(const PlanJob&) = delete;

    bool ready() const { return ready_.load(std::memory_order_acquire); }

    // The plan; only once ready() is true.
    const PlanResult& result() const { return result_; }

    // Whether the game still stands as it stood when the job started: the
    // same player to shoot, every piece where it was, the same targets,
    // killers, dead players and frictions. A plan for another situation
    // (a hidden command moved a piece, a load replaced the game) is stale.
    bool stillFits(const GameState& g, const Field& field) const;

    // The player the plan is for.
    int player() const { return g_.currentTurn; }

private:
    const GameState g_;
    const Field field_;
    PlanResult result_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> ready_{false};
    std::thread thread_;
};

}  // namespace capzel::players
