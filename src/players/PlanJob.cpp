#include "players/PlanJob.h"

namespace capzel::players {

PlanJob::PlanJob(const GameState& g, const Field& field, PlayerKind level, std::uint64_t seed,
                 PlannerOptions options)
    : g_(g), field_(field) {
    options.cancel = &cancel_;
    thread_ = std::thread([this, level, seed, options] {
        result_ = planShot(g_, field_, level, seed, options);
        ready_.store(true, std::memory_order_release);
    });
}

PlanJob::~PlanJob() {
    cancel_.store(true, std::memory_order_relaxed);
    if (thread_.joinable()) thread_.join();
}

bool PlanJob::stillFits(const GameState& g, const Field& field) const {
    if (g.gameRunning != g_.gameRunning || g.currentTurn != g_.currentTurn ||
        g.numberOfPlayers != g_.numberOfPlayers || g.wallsOn != g_.wallsOn)
        return false;
    for (int i = 1; i <= kMaxPlayers; ++i) {
        const Box& now = field.board.pieces[i];
        const Box& then = field_.board.pieces[i];
        if (now.left != then.left || now.top != then.top || now.visible != then.visible) return false;
    }
    for (int i = 1; i <= g.numberOfPlayers && g.isPlayer(i); ++i) {
        if (g.position[i] != g_.position[i] || g.dead[i] != g_.dead[i] || g.isKiller[i] != g_.isKiller[i] ||
            g.friction[i] != g_.friction[i] || g.inGame[i] != g_.inGame[i])
            return false;
    }
    return true;
}

}  // namespace capzel::players
