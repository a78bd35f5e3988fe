// The computer players: for the player whose turn it is, find a shot by
// trying candidates on copies of the game with the real shot and the real
// rules, and judging what each leaves behind (players/Outcome.h).
//
// The search runs coarse to fine: a grid of directions and bar strengths,
// then finer grids around the best outcomes. It is spread over the
// machine's cores; each candidate is judged on its own copy, so the result
// depends only on the state, the level and the seed, never on the threads.
#pragma once

#include <atomic>
#include <cstdint>

#include "model/GameContext.h"
#include "model/PlayerKind.h"
#include "players/PlannedShot.h"

namespace capzel::players {

struct PlannerOptions {
    int threads = 0;              // 0: one per core of the machine
    int directions = 256;         // directions of the coarse grid
    int strengths = 40;           // bar strengths of the coarse grid
    int refineSeeds = 16;         // best outcomes refined in the first fine grid
    long maxCycles = 200000;      // a trial shot that has not rested by then counts as failed
    // When set and it turns true, the search stops judging at once and the
    // result means nothing (its game went away while it was planned).
    const std::atomic<bool>* cancel = nullptr;
    // When set, counts every trial shot as it ends, so that another thread
    // can follow how far the search has come.
    std::atomic<long>* trialsPlayed = nullptr;
};

struct PlanResult {
    PlannedShot shot;           // what the player plays (below Expert: with the miss)
    PlannedShot intended;       // the shot chosen before the miss
    double value = 0;           // the judged value of the intended shot
    long candidatesJudged = 0;  // trial shots played (fewer when the search was cancelled)
};

// Plans the shot of the current player at `level` (Novice, Club, Strong or
// Expert; Human is planned as Expert: the hint for a person). Expert plays
// the best shot found. The others miss as people do, by a spread of about
// 0.4 degrees and 1.2 % of the strength (Strong), 1 degree and 3 % of the strength (Club) or 4 degrees
// and 10 % (Novice): they weigh the best distinct shots by how each turns
// out when missed so, aim for the one that fares best, and then miss it by a
// draw from `seed`. The game must be
// running with a current player on the field; otherwise the result is a
// shot straight up at the weakest strength and nothing is judged.
PlanResult planShot(const Game& g, PlayerKind level, std::uint64_t seed, const PlannerOptions& options = {});

// The share, in percent, of a level's shots at its target that end in the
// target box, as measured alone on the field (capzel-sim --selfplay, 20 solo
// games); what a person reads when choosing a level. 0 for Human.
int levelTargetPercent(PlayerKind level);

// The baseline player: a direction and a bar strength drawn uniformly.
PlannedShot randomShot(const Game& g, std::uint64_t seed);

}  // namespace capzel::players
