// A shot planned away from the board: planShot runs on a thread of its own,
// on copies of the game taken when the job starts, while the board goes on
// drawing and answering the players. The owner looks whether the plan is
// ready, or is told: `onReady` runs on the planning thread once the plan is
// ready, never after the job has gone (a window posts itself a call from
// there). A job that goes away before it is ready raises its search's cancel
// flag and hands its thread to a reaper that joins it elsewhere, so the
// window never waits for the search to wind down; the thread shares the
// job's copies, which live until the thread is done with them.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "model/Game.h"
#include "model/PlayerKind.h"
#include "players/Planner.h"

namespace capzel::players {

class PlanJob {
public:
    PlanJob(const Game& g, PlayerKind level, std::uint64_t seed, PlannerOptions options = {},
            std::function<void()> onReady = {});
    ~PlanJob();
    PlanJob(const PlanJob&) = delete;
    PlanJob& operator=(const PlanJob&) = delete;

    bool ready() const { return plan_->ready.load(std::memory_order_acquire); }

    // The plan; only once ready() is true.
    const PlanResult& result() const { return plan_->result; }

    // Whether the game still stands as it stood when the job started: the
    // same player to shoot, every piece where it was, the same targets,
    // killers, dead players and frictions. A plan for another situation
    // (a hidden command moved a piece, a load replaced the game) is stale.
    bool stillFits(const Game& g) const;

    // The player the plan is for.
    int player() const { return plan_->g.currentTurn; }

private:
    // What the planning thread reads and writes, owned by the job and the
    // thread together.
    struct Plan {
        explicit Plan(const Game& game) : g(game) {}
        const Game g;
        PlanResult result;
        std::atomic<bool> cancel{false};
        std::atomic<bool> ready{false};
        std::mutex telling;             // held while onReady runs, and while the job lets it go
        std::function<void()> onReady;
    };

    std::shared_ptr<Plan> plan_;
    std::thread thread_;
};

}  // namespace capzel::players
