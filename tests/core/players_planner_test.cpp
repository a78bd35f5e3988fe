// The computer players: they take the obvious shot, play the same shot for
// the same seed on any number of threads, and plan only shots the board can
// play, which the board then plays to the very result the planner judged.
#include <gtest/gtest.h>

#include "controls/Aiming.h"
#include "players/Outcome.h"
#include "players/Planner.h"
#include "model/Placement.h"
#include "support/FakePlatform.h"
#include "support/RunDriver.h"

using namespace capzel;
using namespace capzel::players;
using capzel::test::FakePlatform;

namespace {

struct Game {
    modCapzel g;
    Field field;
    FakePlatform ui;
    GameContext ctx{g, field, ui};

    // Two players on the field, player 1 to shoot.
    Game() {
        g.NumberOfPlayers = 2;
        g.recreatePerGameTables();
        g.GameRunning = true;
        g.CurrentTurn = 1;
        for (int i = 1; i <= 2; ++i) {
            g.PlayerName[i] = i == 1 ? "Ann" : "Bob";
            g.Friction[i] = 98;
            g.InGame[i] = true;
            g.Position[i] = 5;
        }
        centrePieceOn(piece(2), field.board.Spot[6]);
    }
    Box& piece(int i) { return field.board.Player[i]; }
    void place(int i, float left, float top) {
        piece(i).Left = left;
        piece(i).Top = top;
    }
};

// Ann a short way left of box 2, her next target, with nothing between.
void nearHerTarget(Game& t) {
    t.g.Position[1] = 1;
    t.place(1, 7000, 800);
}

// Ann a killer in box 13, Bob's piece beside hers.
void killerBesidePrey(Game& t) {
    t.g.IsKiller[1] = true;
    t.g.Position[1] = 13;
    centrePieceOn(t.piece(1), t.field.board.Spot[13]);
    t.place(2, t.piece(1).Left + 900, t.piece(1).Top);
}

PlannerOptions threads(int n) {
    PlannerOptions o;
    o.threads = n;
    return o;
}

}  // namespace

TEST(Planner, TakesTheObviousShot) {
    Game reach, kill;
    nearHerTarget(reach);
    killerBesidePrey(kill);
    const PlannedShot toTarget = planShot(reach.g, reach.field, PlayerKind::Expert, 1).shot;
    ASSERT_TRUE(playShot(reach.ctx, toTarget, 100000));
    EXPECT_GE(reach.g.Position[1], 2);
    EXPECT_EQ(reach.g.CurrentTurn, 1);

    const PlannedShot atPrey = planShot(kill.g, kill.field, PlayerKind::Expert, 1).shot;
    ASSERT_TRUE(playShot(kill.ctx, atPrey, 100000));
    EXPECT_TRUE(kill.g.Dead[2]);
    EXPECT_FALSE(kill.g.GameRunning);  // the last other player is gone: Ann won
}

TEST(Planner, SameSeedSameShotOnAnyNumberOfThreads) {
    Game t;
    nearHerTarget(t);
    const PlanResult one = planShot(t.g, t.field, PlayerKind::Novice, 7, threads(1));
    const PlanResult two = planShot(t.g, t.field, PlayerKind::Novice, 7, threads(2));
    const PlanResult other = planShot(t.g, t.field, PlayerKind::Novice, 8, threads(2));
    EXPECT_GE(one.candidatesJudged, 10000);
    EXPECT_EQ(one.candidatesJudged, two.candidatesJudged);
    EXPECT_EQ(one.value, two.value);
    EXPECT_EQ(one.shot.aimX, two.shot.aimX);
    EXPECT_EQ(one.shot.aimY, two.shot.aimY);
    EXPECT_EQ(one.shot.barTicks, two.shot.barTicks);
    // A novice misses differently from one seed to the next.
    EXPECT_TRUE(other.shot.aimX != one.shot.aimX || other.shot.barTicks != one.shot.barTicks);
}

// Each planned shot is aimed with the mouse and fired from the bar at its
// level, as a person would: the result is the one the planner judged.
TEST(Planner, PlansOnlyWhatTheBoardPlays) {
    const Board layout = makeBoardLayout();
    EXPECT_EQ(barStrength(layout, 1), 2815);                       // "Go" at the first tick
    EXPECT_EQ(barStrength(layout, maxBarTicks(layout)), 9405);   // "Go" at the top of a full bar
    const struct {
        void (*setUp)(Game&);
        PlayerKind level;
    } rows[] = {
        {nearHerTarget, PlayerKind::Expert},
        {nearHerTarget, PlayerKind::Club},
        {killerBesidePrey, PlayerKind::Novice},
    };
    for (const auto& r : rows) {
        Game t;
        r.setUp(t);
        const modCapzel before = t.g;
        const Board beforeBoard = t.field.board;
        const PlanResult plan = planShot(t.g, t.field, r.level, 3);
        const PlannedShot& s = plan.shot;
        ASSERT_GE(s.barTicks, 1);
        ASSERT_LE(s.barTicks, maxBarTicks(t.field.board));
        EXPECT_TRUE(s.aimX != aimStartX(t.piece(1)) || s.aimY != aimStartY(t.piece(1)));

        Game planned;
        r.setUp(planned);
        ASSERT_TRUE(playShot(planned.ctx, s, 100000));

        TurnController turn{t.ctx};
        turn.mouseMove(kLeftButton, 0, s.aimX, s.aimY);
        t.ui.secondsPerYield = 1e-6;  // the bar's pauses wait for the clock
        t.ui.onYield = [&] {
            if (t.g.Charging && t.g.Power == barLevel(t.field.board, s.barTicks)) turn.goClicked();
            if (t.ui.yields > 100'000'000) t.ui.keepRunning = false;  // a charge that never ends fails
        };
        turn.mouseUp();
        test::drive(turn, t.ui);
        for (int i = 1; i <= 2; ++i) {
            EXPECT_EQ(t.piece(i).Left, planned.piece(i).Left);
            EXPECT_EQ(t.piece(i).Top, planned.piece(i).Top);
            EXPECT_EQ(t.g.Position[i], planned.g.Position[i]);
            EXPECT_EQ(t.g.Dead[i], planned.g.Dead[i]);
        }
        EXPECT_EQ(t.g.CurrentTurn, planned.g.CurrentTurn);
        if (r.level == PlayerKind::Expert) {
            EXPECT_EQ(plan.value, outcomeValue(before, beforeBoard, t.g, t.field.board, 1));
        }
    }
}

TEST(Planner, NothingToPlanWithoutARunningGame) {
    Game t;
    t.g.GameRunning = false;
    const PlanResult plan = planShot(t.g, t.field, PlayerKind::Expert, 1);
    EXPECT_EQ(plan.candidatesJudged, 0);
    EXPECT_GE(plan.shot.barTicks, 1);
}
