// A jump to shot k of a recorded 200-shot game: every entry up to the shot
// is played again through the rulebook with no window, each checked against
// its recorded hash (as Watch restores a game).
#include <benchmark/benchmark.h>

#include "platform/SilentPlatform.h"
#include "players/Planner.h"
#include "players/PlannedShot.h"
#include "players/Random.h"
#include "records/NewGame.h"
#include "rules/TurnStart.h"
#include "match/RecordReplay.h"

using namespace capzel;

namespace {

// Four seats of random shots (which reach killers and kills less often
// than planned ones, but take the same engine and rules), recorded as
// the simulator's self-play records them.
const GameRecord& twoHundredShots() {
    static const GameRecord record = [] {
        NewGameSettings settings;
        settings.players = 4;
        Game g;
        applyNewGame(g, settings);
        paintPlayerColors(g);
        SilentPlatform ui;
        GameContext ctx{g, ui};
        const Judgement started = startTurn(ctx, g.currentTurn);
        Match match(g, started.announcements);
        for (std::uint64_t k = 0; match.record().shotCount() < 200 && match.game().gameRunning; ++k) {
            const players::PlannedShot shot = players::randomShot(match.game(), players::mixSeed(9, k));
            if (!match.play(players::plannedShotCommand(match.game(), shot)).taken()) break;
        }
        return match.record();
    }();
    return record;
}

void BM_JumpToShot(benchmark::State& state) {
    const GameRecord& record = twoHundredShots();
    const int k = int(state.range(0));
    if (record.shotCount() < k) return state.SkipWithError("the game ended early");
    std::string error;
    for (auto _ : state) {
        const std::optional<Game> g = gameAfterShot(record, k, &error);
        if (!g) return state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(g->shotsTaken);
    }
    state.counters["shots"] = k;
}
BENCHMARK(BM_JumpToShot)->Arg(1)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
