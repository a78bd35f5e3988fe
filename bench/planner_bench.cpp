// Speed of the computer players: candidate shots judged per second (every
// core together, so wall time) and the wall time of one whole decision of
// the Expert, with two and with eight pieces on the field.
#include <benchmark/benchmark.h>

#include "model/GameContext.h"
#include "players/Planner.h"
#include "model/Placement.h"

using namespace capzel;

namespace {

struct position {
    GameState g;
    Field field;
};

// `players` pieces centred on the boxes `boxes` (the first is the shooter's,
// which the rules have just put there), every player on the course.
position midGame(int players) {
    static constexpr int kBoxes[] = {3, 6, 9, 12, 5, 8, 11, 13};
    position p;
    GameState& g = p.g;
    g.numberOfPlayers = std::int16_t(players);
    g.recreatePerGameTables();
    g.gameRunning = true;
    g.currentTurn = 1;
    for (int i = 1; i <= players; ++i) {
        g.playerName[i] = "Player " + std::to_string(i);
        g.friction[i] = 98;
        g.score[i] = 200;
        g.inGame[i] = true;
        g.position[i] = kBoxes[i - 1];
        centrePieceOn(p.field.board.pieces[i], p.field.board.spots[kBoxes[i - 1]]);
    }
    g.moveableNextTurn[1] = true;
    return p;
}

void decide(benchmark::State& state, int players) {
    const position p = midGame(players);
    long candidates = 0;
    for (auto _ : state) {
        const players::PlanResult r = players::planShot(p.g, p.field, PlayerKind::Expert, 1);
        benchmark::DoNotOptimize(r);
        candidates += r.candidatesJudged;
    }
    state.counters["candidate_shots_per_second"] = benchmark::Counter(double(candidates), benchmark::Counter::kIsRate);
    state.counters["candidates_per_decision"] = double(candidates) / double(state.iterations());
}

void BM_PlannerDecisionTwoPieces(benchmark::State& state) { decide(state, 2); }
void BM_PlannerDecisionEightPieces(benchmark::State& state) { decide(state, 8); }

}  // namespace

BENCHMARK(BM_PlannerDecisionTwoPieces)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlannerDecisionEightPieces)->UseRealTime()->Unit(benchmark::kMillisecond);
