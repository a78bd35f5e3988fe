// A jump to shot k of a recorded 200-shot game: the game is built from the
// record's setup and every entry up to the shot is played again with no
// window, each checked against its recorded hash (as Watch and the
// session's undo and redo restore a game).
#include <benchmark/benchmark.h>

#include "platform/SilentPlatform.h"
#include "players/Planner.h"
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
        Game g;
        Field field;
        SilentPlatform ui;
        GameContext ctx{g, field, ui};
        NewGameSettings settings;
        settings.players = 4;
        applyNewGame(ctx, settings);
        GameRecord r;
        r.setup = newGameSetup(settings);
        for (int i = 1; i <= 4; ++i) r.setup.seats[std::size_t(i - 1)].color = g.seats[i].color;
        paintPlayerColors(g, field);
        r.field = recordField(field);
        const Judgement started = startTurn(ctx, g.currentTurn);
        r.start = {gameHash(g, field), started.announcements};
        for (std::uint64_t k = 0; r.shotCount() < 200 && g.gameRunning; ++k) {
            const players::PlannedShot shot = players::randomShot(g, field, players::mixSeed(9, k));
            RecordedShot recorded = plannedShotInputs(g, field, shot);
            const std::optional<Judgement> judged = players::playShot(ctx, shot, 1000000, nullptr);
            if (!judged) break;
            recorded.outcome = {gameHash(g, field), judged->announcements};
            r.entries.emplace_back(std::move(recorded));
        }
        return r;
    }();
    return record;
}

void BM_JumpToShot(benchmark::State& state) {
    const GameRecord& record = twoHundredShots();
    const int k = int(state.range(0));
    if (record.shotCount() < k) return state.SkipWithError("the game ended early");
    Game g;
    Field field;
    std::string error;
    for (auto _ : state) {
        if (!restoreToShot(record, k, g, field, &error)) return state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(g.shotsTaken);
    }
    state.counters["shots"] = k;
}
BENCHMARK(BM_JumpToShot)->Arg(1)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
