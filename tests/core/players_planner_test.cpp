// The computer players' planner.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <tuple>

#include "controls/Aiming.h"
#include "players/Outcome.h"
#include "players/Planner.h"
#include "model/Placement.h"
#include "support/ShotTable.h"

using namespace capzel;
using namespace capzel::players;

namespace {

// Ann and Bob at target 5, Ann to shoot.
struct AnnAndBob : test::ShotTable {
    AnnAndBob() : ShotTable(2) {
        g.seats[1].name = "Ann";
        g.seats[2].name = "Bob";
        g.seats[1].position = g.seats[2].position = 5;
        centrePieceOn(piece(2), g.board.spots[6]);
    }
};

// Ann a short way left of box 2, her next target, with nothing between.
void nearHerTarget(AnnAndBob& t) {
    t.g.seats[1].position = 1;
    t.place(1, 7000, 800);
}

// Ann a killer in box 13, Bob's piece beside hers.
void killerBesidePrey(AnnAndBob& t) {
    t.g.seats[1].isKiller = true;
    t.g.seats[1].position = 13;
    centrePieceOn(t.piece(1), t.g.board.spots[13]);
    t.place(2, t.piece(1).left + 900, t.piece(1).top);
}

}  // namespace

TEST(Planner, SameSeedSameShotOnAnyNumberOfThreads) {
    AnnAndBob t;
    nearHerTarget(t);
    const PlanResult one = planShot(t.g, PlayerKind::Novice, 7, {.threads = 1});
    const PlanResult two = planShot(t.g, PlayerKind::Novice, 7, {.threads = 2});
    const PlanResult other = planShot(t.g, PlayerKind::Novice, 8, {.threads = 2});
    EXPECT_GE(one.candidatesJudged, 10000);
    EXPECT_EQ(one.candidatesJudged, two.candidatesJudged);
    EXPECT_EQ(std::tie(one.value, one.shot.aimX, one.shot.aimY, one.shot.barTicks),
              std::tie(two.value, two.shot.aimX, two.shot.aimY, two.shot.barTicks));
    // A novice misses differently from one seed to the next.
    EXPECT_TRUE(other.shot.aimX != one.shot.aimX || other.shot.barTicks != one.shot.barTicks);
}

// An expert takes the obvious shot; every planned shot is one the bar can fire and ends as the planner judged.
TEST(Planner, TakesTheObviousShotAsTheBoardPlaysIt) {
    const Board layout = makeBoardLayout();
    EXPECT_EQ(barStrength(layout, 1), 2815);              // "Go" at the first tick
    EXPECT_EQ(barStrength(layout, maxBarTicks()), 9405);  // "Go" at the top of a full bar
    using Done = bool (*)(const Game&);
    const struct { void (*setUp)(AnnAndBob&); PlayerKind level; Done done; } rows[] = {
        {nearHerTarget, PlayerKind::Expert, [](const Game& g) { return g.seats[1].position >= 2 && g.currentTurn == 1; }},
        {killerBesidePrey, PlayerKind::Expert, [](const Game& g) { return g.seats[2].dead && !g.gameRunning; }},
        {killerBesidePrey, PlayerKind::Novice, [](const Game&) { return true; }}};
    for (const auto& r : rows) {
        AnnAndBob t;
        r.setUp(t);
        const Game before = t.g;
        const PlanResult plan = planShot(t.g, r.level, 1);
        const PlannedShot& s = plan.shot;
        ASSERT_GE(s.barTicks, 1);
        ASSERT_LE(s.barTicks, maxBarTicks());
        EXPECT_TRUE(s.aimX != aimStartX(t.piece(1)) || s.aimY != aimStartY(t.piece(1)));
        ASSERT_TRUE(playShot(t.ctx, s, 100000));  // ComputerTurn fires it through the board
        EXPECT_TRUE(r.done(t.g));
        if (r.level == PlayerKind::Expert) { EXPECT_EQ(plan.value, outcomeValue(before, t.g, 1)); }
    }
}

// The aim starts at the piece's centre rounded to float, as the board's line holds it: 16383.999 + 0.5 is
// 16384.5 as a float, and from the unrounded centre (GCC 12's vectoriser kept it) the aim ends at 14884.499.
TEST(Planner, AimsFromTheCentreRoundedToFloat) {
    constexpr float kOffGrid = 16383.9990234375f;
    const struct { Box piece; double angle; float aimX, aimY; } rows[] = {
        {{kOffGrid, 100, 1, 1}, 0, 14884.5f, 100.5f}, {{100, kOffGrid, 1, 1}, 1.5707963267948966, 100.5f, 14884.5f}};
    for (const auto& r : rows) {
        Game t;
        t.piece(1) = r.piece;
        const PlannedShot s = shotAlong(t, r.angle, 1);
        EXPECT_EQ(std::tie(s.aimX, s.aimY), std::tie(r.aimX, r.aimY));
    }
}

TEST(Planner, NothingToPlanWithoutARunningGame) {
    AnnAndBob t;
    t.g.gameRunning = false;
    const PlanResult plan = planShot(t.g, PlayerKind::Expert, 1);
    EXPECT_EQ(plan.candidatesJudged, 0);
    EXPECT_GE(plan.shot.barTicks, 1);
}

// Raised mid-search, the cancel flag lets each thread finish at most its trial; the result counts those played.
TEST(Planner, CancelledSearchStopsWithinOneTrialPerThread) {
    for (int n : {1, 2}) {
        SCOPED_TRACE(n);
        AnnAndBob t;
        nearHerTarget(t);
        std::atomic<bool> cancel{false};
        std::atomic<long> played{0};
        PlannerOptions o{.threads = n};
        o.cancel = &cancel;
        o.trialsPlayed = &played;
        PlanResult plan;
        std::thread search([&] { plan = planShot(t.g, PlayerKind::Novice, 1, o); });
        while (played.load() == 0) std::this_thread::yield();
        cancel.store(true);
        const long seen = played.load();
        search.join();
        EXPECT_LE(played.load(), seen + n);
        EXPECT_EQ(plan.candidatesJudged, played.load());
    }
}
