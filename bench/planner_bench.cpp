// Speed of the computer players: candidate shots judged per second (every
// core together, so wall time) and the wall time of one whole decision of
// the Expert, with two and with eight pieces on the field; and how long
// dropping a plan half-way holds up the thread that drops it (the window's).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "model/GameContext.h"
#include "players/PlanJob.h"
#include "players/Planner.h"
#include "model/Placement.h"

using namespace capzel;

namespace {

struct position {
    Game g;
};

// `players` pieces centred on the boxes `boxes` (the first is the shooter's,
// which the rules have just put there), every player on the course.
position midGame(int players) {
    static constexpr int kBoxes[] = {3, 6, 9, 12, 5, 8, 11, 13};
    position p;
    Game& g = p.g;
    g.numberOfPlayers = std::int16_t(players);
    g.recreatePerGameTables();
    g.gameRunning = true;
    g.currentTurn = 1;
    for (int i = 1; i <= players; ++i) {
        g.seats[i].name = "Player " + std::to_string(i);
        g.seats[i].friction = 98;
        g.seats[i].score = 200;
        g.seats[i].inGame = true;
        g.seats[i].position = kBoxes[i - 1];
        centrePieceOn(g.board.pieces[i], g.board.spots[kBoxes[i - 1]]);
    }
    g.seats[1].moveableNextTurn = true;
    return p;
}

void decide(benchmark::State& state, int players) {
    const position p = midGame(players);
    long candidates = 0;
    for (auto _ : state) {
        const players::PlanResult r = players::planShot(p.g, PlayerKind::Expert, 1);
        benchmark::DoNotOptimize(r);
        candidates += r.candidatesJudged;
    }
    state.counters["candidate_shots_per_second"] = benchmark::Counter(double(candidates), benchmark::Counter::kIsRate);
    state.counters["candidates_per_decision"] = double(candidates) / double(state.iterations());
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// A plan for eight pieces is started, left to search for a while (the
// range's milliseconds), then dropped: the time measured is the drop alone,
// as the window waits for it when a new game, a load or the turn's end
// throws the plan away. The worst drop is kept beside the mean.
void BM_PlanJobDrop(benchmark::State& state) {
    const position p = midGame(8);
    const auto searching = std::chrono::milliseconds(state.range(0));
    double worst = 0;
    for (auto _ : state) {
        auto job = std::make_unique<players::PlanJob>(p.g, PlayerKind::Expert, 1);
        std::this_thread::sleep_for(searching);
        const Clock::time_point t = Clock::now();
        job.reset();
        const double s = secondsSince(t);
        worst = std::max(worst, s);
        state.SetIterationTime(s);
    }
    state.counters["worst_ms"] = worst * 1e3;
}

// The same search run by planShot with a cancel flag of its own: the time
// from raising the flag to planShot's return, which is how long a dropped
// plan's threads go on using the machine, and the trial shots they still
// play (on a busy machine the time is mostly waiting for a core; the trials
// are not).
void BM_PlanSearchStop(benchmark::State& state) {
    const position p = midGame(8);
    const auto searching = std::chrono::milliseconds(state.range(0));
    double worst = 0;
    long trialsAfter = 0, mostTrialsAfter = 0;
    for (auto _ : state) {
        std::atomic<bool> cancel{false};
        std::atomic<long> played{0};
        players::PlannerOptions options;
        options.cancel = &cancel;
        options.trialsPlayed = &played;
        std::thread search([&] { benchmark::DoNotOptimize(players::planShot(p.g, PlayerKind::Expert, 1, options)); });
        std::this_thread::sleep_for(searching);
        const Clock::time_point t = Clock::now();
        cancel.store(true);
        const long seen = played.load();
        search.join();
        const double s = secondsSince(t);
        worst = std::max(worst, s);
        trialsAfter += played.load() - seen;
        mostTrialsAfter = std::max(mostTrialsAfter, played.load() - seen);
        state.SetIterationTime(s);
    }
    state.counters["worst_ms"] = worst * 1e3;
    state.counters["trials_after_cancel"] = double(trialsAfter) / double(state.iterations());
    state.counters["most_trials_after_cancel"] = double(mostTrialsAfter);
}

void BM_PlannerDecisionTwoPieces(benchmark::State& state) { decide(state, 2); }
void BM_PlannerDecisionEightPieces(benchmark::State& state) { decide(state, 8); }

}  // namespace

BENCHMARK(BM_PlannerDecisionTwoPieces)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlannerDecisionEightPieces)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlanJobDrop)->Arg(7)->Arg(40)->Iterations(40)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlanSearchStop)->Arg(7)->Arg(40)->Iterations(40)->UseManualTime()->Unit(benchmark::kMicrosecond);
