// Speed of the headless shot engine, in piece steps per second.
//
// Each iteration plays one whole shot on a fresh copy of the same state
// (launch, every step, settlement) through the silent platform, exactly as
// the headless simulator plays it.
#include <benchmark/benchmark.h>

#include "engine/Shot.h"
#include "model/GameContext.h"
#include "platform/SilentPlatform.h"

using namespace capzel;

namespace {

struct Setup {
    Game g;
    std::int16_t strength = 9405;  // a full power bar
};

void addPiece(Setup& s, int i, float left, float top) {
    s.g.seats[i].name = "Player " + std::to_string(i);
    s.g.seats[i].friction = 98;
    s.g.seats[i].score = 200 + (i - 1) * 10;
    s.g.seats[i].position = 3;
    s.g.seats[i].inGame = true;
    s.g.board.pieces[i].left = left;
    s.g.board.pieces[i].top = top;
}

Setup newGame(int players) {
    Setup s;
    s.g.numberOfPlayers = std::int16_t(players);
    s.g.recreatePerGameTables();
    s.g.currentTurn = 1;
    s.g.gameRunning = true;
    s.g.wallsOn = true;
    return s;
}

// One piece in box 1 sent up and to the right at full strength: it crosses
// the field several times and meets the edges and walls on its way.
Setup onePiece() {
    Setup s = newGame(1);
    addPiece(s, 1, 1430, 8270);
    s.g.board.pointer = {1580, 8420, 1280, 8620};
    return s;
}

// Seven pieces packed in a triangle (2 twips apart) broken from below by a
// full-strength shot along the triangle's axis.
Setup breakOfEight() {
    Setup s = newGame(8);
    const float pitch = 302;
    int i = 2;
    for (int row = 0; row < 4 && i <= 8; ++row) {
        for (int k = 0; k <= row && i <= 8; ++k, ++i) {
            const float left = 2400 - row * pitch / 2 + k * pitch;
            const float top = 6000 - row * 262;
            addPiece(s, i, left, top);
        }
    }
    addPiece(s, 1, 2400, 8600);
    s.g.board.pointer = {2550, 8750, 2550, 9050};
    return s;
}

void playShots(benchmark::State& state, const Setup& start, const ShotOptions& options = {}) {
    Setup s = start;
    SilentPlatform ui;
    GameContext ctx{s.g, ui};
    long steps = 0;
    long shots = 0;
    for (auto _ : state) {
        s.g = start.g;
        const ShotResult r = shootPiece(ctx, start.strength, options);
        benchmark::DoNotOptimize(r);
        steps += r.steps;
        ++shots;
    }
    state.counters["piece_steps_per_second"] = benchmark::Counter(double(steps), benchmark::Counter::kIsRate);
    state.counters["steps_per_shot"] = double(steps) / double(shots ? shots : 1);
}

void BM_OnePieceFullStrength(benchmark::State& state) { playShots(state, onePiece()); }
void BM_BreakOfEight(benchmark::State& state) { playShots(state, breakOfEight()); }

// The same shots with every wall, edge and piece tested at every step (no
// wall grid, no early way out of the contact pass): the same result, and
// the yardstick for what the grid saves.
void BM_OnePiecePlainPasses(benchmark::State& state) { playShots(state, onePiece(), {.plainPasses = true}); }
void BM_BreakOfEightPlainPasses(benchmark::State& state) { playShots(state, breakOfEight(), {.plainPasses = true}); }

}  // namespace

BENCHMARK(BM_OnePieceFullStrength);
BENCHMARK(BM_BreakOfEight);
BENCHMARK(BM_OnePiecePlainPasses);
BENCHMARK(BM_BreakOfEightPlainPasses);

BENCHMARK_MAIN();
