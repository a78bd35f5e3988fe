// The wall grid and the contact pass's early way out change no bit: shots end
// exactly as with every wall, edge and piece tested in full (the plain passes).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <tuple>

#include "Scenario.h"
#include "engine/ShotRun.h"
#include "engine/WallGrid.h"
#include "engine/WallPass.h"
#include "match/Match.h"
#include "platform/SilentPlatform.h"

namespace capzel {
namespace {

// Seeded draws with a fixed mapping, the same on every standard library.
struct Dice {
    explicit Dice(unsigned seed) : rng(seed) {}
    int below(int n) { return int(rng() % unsigned(n)); }
    bool chance(int percent) { return below(100) < percent; }
    float between(float lo, float hi) { return lo + (hi - lo) * float(below(100001)) / 100000.0f; }
    std::mt19937 rng;
};

// The game's digest, the run's counts, and the distinct pairs that touched.
struct Ending {
    std::uint64_t digest;
    long cycles, steps;
    bool unfinished;
    int pairs;
    bool operator==(const Ending&) const = default;
};

struct Start { Game game; std::int16_t strength = 0; };  // a game at its shot's launch, the strength at Go

// Plays the shot to the end; with `onStep` (the game, the piece stepping
// next, the advance's count) the run is advanced step by step as a window does.
using StepHook = std::function<void(Game&, int, long)>;
Ending play(const Start& start, bool plain, const StepHook& onStep = {}) {
    Game game = start.game;
    SilentPlatform ui;
    GameContext ctx{game, ui};
    ShotRun run(ctx, start.strength, {3000, plain});
    for (long step = 0; onStep && !run.done(); ++step) {
        onStep(game, run.nextPiece(), step);
        run.advance();
    }
    run.finish();  // nothing left to do after a run stepped to its end
    const ShotResult& r = run.result();
    return {scenarios::stateDigest(game), r.cycles, r.steps, r.unfinished, game.hitCount};
}

// Walls moved, resized, turned inside out or made unreadable; shown or not.
void scatterWalls(Board& b, Dice& d) {
    for (int j = 1; j <= kWallCount; ++j) {
        Box& w = b.walls[j];
        w.visible = d.chance(80);
        if (d.chance(30)) continue;
        const float length = d.between(0, 1500), thickness = d.between(0, 300);
        const bool upright = d.chance(50);
        w.left = d.between(300, 10300);
        w.top = d.between(-300, 9600);
        std::tie(w.width, w.height) = upright ? std::pair(thickness, length) : std::pair(length, thickness);
        if (d.chance(5)) w.width = -w.width;
        if (d.chance(2)) w.height = std::numeric_limits<float>::quiet_NaN();
        if (j > 1 && d.chance(20)) {
            // Across the wall before it: a piece can bounce off both in turn.
            const Box& before = b.walls[j - 1];
            w.left = before.left + before.width / 2 - before.height / 2;
            w.top = before.top + before.height / 2 - before.width / 2;
            std::tie(w.width, w.height) = std::pair(before.height, before.width);
        }
    }
}

// Up to eight pieces, scattered or packed; a random shooter and shot; at times other sizes and edges.
void scatterGame(Start& start, Dice& d) {
    const int n = 1 + d.below(kMaxPlayers);
    scenarios::Scenario s{"random", d.chance(85), 1 + d.below(n), d.below(9406), {}, {}};
    const bool packed = d.chance(60);
    const float cx = d.between(1000, 9000), cy = d.between(1000, 8500);
    for (int i = 1; i <= n; ++i) {
        const float left = packed ? cx + d.between(-450, 450) : d.between(600, 9800);
        const float top = packed ? cy + d.between(-450, 450) : d.between(0, 9100);
        const float friction = d.chance(50) ? 98 : d.between(90, 100);
        std::string flags = d.chance(90) ? "g" : "";
        flags += d.chance(15) ? "k" : "";
        s.players.push_back({"P", left, top, friction, 200, d.below(29), flags});
    }
    const scenarios::ScenarioPlayer& shooter = s.players[size_t(s.turn - 1)];
    s.pointer = {shooter.left + d.between(-300, 300), shooter.top + d.between(-300, 300), shooter.left, shooter.top};
    scenarios::setUp(start.game, s);
    start.game = gameAtLaunch(start.game, scenarios::scenarioShot(start.game, s));
    start.strength = std::int16_t(s.power);
    Board& b = start.game.board;
    scatterWalls(b, d);
    if (d.chance(15)) {
        const float size = d.chance(90) ? d.between(0, 700) : -100;
        b.pieces[1 + d.below(n)].width = size;
        b.pieces[1 + d.below(n)].height = size;
    }
    if (d.chance(20)) {
        b.leftLine.x1 = d.between(0, 1500);
        b.rightLine.x1 = d.between(7000, 11000);
        b.scaleHeight = d.between(3000, 12000);
        if (d.chance(10)) b.rightLine.x1 = -b.rightLine.x1;  // edges no grid can cover
        if (d.chance(10)) b.scaleHeight = -b.scaleHeight;
    }
}

TEST(EngineBroadphase, RandomShotsOnRandomBoardsEndAsWithThePlainPasses) {
    Dice d(20240611);
    int withContacts = 0;
    for (int shot = 0; shot < 2500; ++shot) {
        Start start;
        scatterGame(start, d);
        const Ending fast = play(start, false);
        ASSERT_EQ(fast, play(start, true)) << "shot " << shot;
        withContacts += fast.pairs > 0;
    }
    EXPECT_GT(withContacts, 250);  // the contact pass is put to the test
}

// A watched run looks the grid up before every step: walls moved and the window resized count from the next step.
TEST(EngineBroadphase, ABoardChangedDuringAWatchedShotCountsAtOnce) {
    Dice d(99);
    int changed = 0;
    for (int shot = 0; shot < 200; ++shot) {
        Start start;
        scatterGame(start, d);
        const long at = 1 + d.below(40);
        const StepHook change = [at](Game& game, int next, long step) {
            if (step != at || next == 0) return;
            const Box& p = game.board.pieces[next];  // a wall across the place of the piece stepping next
            game.board.walls[1 + int(at % kWallCount)] = {p.left + 100, p.top - 400, 60, 1100};
            game.board.scaleHeight -= 500;
        };
        const Ending plain = play(start, true, change);
        ASSERT_EQ(play(start, false, change), plain) << "shot " << shot;
        changed += !(plain == play(start, true));
    }
    EXPECT_GT(changed, 50);
}

// The grid alone: a wall left out of a cell never moves a piece cornered there, most walls are left out of most
// cells, an edge left out is never crossed, the walls listed act as all would. Corners lie round a piece's edge
// on a wall's edge, a rounding step or two apart.
TEST(WallGrid, WhatACellLeavesOutCannotTouchAPieceThere) {
    Dice d(5);
    long checked = 0, leftOut = 0, hits = 0, wrong = 0;
    for (int boards = 0; boards < 100; ++boards) {
        Board b = makeBoardLayout();
        scatterWalls(b, d);
        if (d.chance(30)) b.pieces[1].width = b.pieces[1].height = d.between(0, 700);
        const engine::WallGrid grid(b);
        for (int k = 0; k < 3000; ++k) {
            const Box& w = b.walls[1 + d.below(kWallCount)];
            const Box& p = b.pieces[1 + d.below(2)];
            const auto near = [&](float start, float size, float own) {
                const float turns[] = {start, start + size, start - own, start + size - own, d.between(0, 10000)};
                float v = turns[d.below(5)] + float(d.below(5) - 2) / 2;
                for (int step = d.below(5) - 2; step != 0; step += step < 0 ? 1 : -1)
                    v = std::nextafter(v, step < 0 ? -1e9f : 1e9f);
                return v;
            };
            const engine::MovingPiece start{near(w.left, w.width, p.width), near(w.top, w.height, p.height),
                                            p.width, p.height, 5, -5};
            const int j = int(&w - &b.walls[0]);
            const engine::WallGrid::Mask listed = grid.near(start.left, start.top);
            const bool crosses = fsum(start.left, start.width) > b.rightLine.x1 || start.left < b.leftLine.x1 ||
                                 fsum(start.top, start.height) > b.scaleHeight || start.top < 0;
            engine::MovingPiece one = start, all = start, pruned = start;
            const bool hit = engine::bounceOffWall(one, w), listedWall = listed & (1u << j);
            ++checked;
            hits += hit;
            leftOut += !listedWall;
            wrong += (hit && !listedWall) + (crosses && !(listed & engine::WallGrid::kEdges));
            engine::bounceOffWalls(all, b);
            engine::bounceOffWalls(pruned, b, listed);
            wrong += std::memcmp(&all, &pruned, sizeof all) != 0;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(hits > checked / 20 && leftOut > checked / 5) << hits << " hits, " << leftOut << " left out of " << checked;
}

// Level with a wall's near edge a piece has not passed it and goes back; a twip further in, it goes past the far edge.
TEST(WallBounce, TheNearEdgePassedDecidesTheSide) {
    const Box upright{1000, 1000, 60, 1000}, lying{1000, 1000, 1000, 60};
    const struct { const Box& wall; float left, top, endLeft, endTop, vx, vy; } rows[] = {
        {upright, 900, 1000, 900, 700, 10, -9},  // across its width, level with its top
        {upright, 900, 1001, 900, 2000, 10, 9},
        {lying, 1000, 900, 700, 900, -9, 10},    // across its height, level with its left end
        {lying, 1001, 900, 2000, 900, 9, 10},
    };
    for (const auto& r : rows) {
        engine::MovingPiece p{r.left, r.top, 300, 300, 10, 10};
        EXPECT_TRUE(engine::bounceOffWall(p, r.wall));
        EXPECT_EQ((std::array{p.left, p.top, p.vx, p.vy}), (std::array{r.endLeft, r.endTop, r.vx, r.vy})) << r.left << "," << r.top;
    }
}

}  // namespace
}  // namespace capzel
