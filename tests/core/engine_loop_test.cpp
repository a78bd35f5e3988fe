// The main loop: board edges, the end of a shot, and the waits between steps.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/Assign.h"
#include "model/Numbers.h"
#include "support/ShotTable.h"

using namespace capzel;
using capzel::test::ShotTable;

TEST(BoardEdges, BounceWithNinetyPercentAcross) {
    struct Row {
        const char* name;
        float right, bottom;  // the bounds, read from linRight and the window's height
        float left, top, vx, vy;
        float wantLeft, wantTop, wantVx, wantVy;
    };
    const Row rows[] = {
        {"right", 10080, 9390, 9770, 4000, 20, 0, 9780, 4000, -18, 0},
        {"left", 10080, 9390, 610, 4000, -20, 0, 600, 4000, 18, 0},
        {"bottom", 10080, 9390, 4000, 9080, 0, 20, 4000, 9090, 0, -18},
        {"top", 10080, 9390, 4000, 10, 0, -20, 4000, 0, 0, 18},
        {"right and bottom in one step", 10080, 9390, 9770, 9080, 20, 20, 9780, 9090, -18, -18},
        {"flush against the edge is no bounce", 10080, 9390, 9770, 4000, 10, 0, 9780, 4000, 10, 0},
        {"moved bounds", 9000, 8000, 8690, 7690, 20, 20, 8700, 7700, -18, -18},
    };
    for (const Row& r : rows) {
        ShotTable t(1);
        t.g.WallsOn = false;
        t.g.Friction[1] = 100;
        t.field.board.linRight.X1 = r.right;
        t.field.board.ScaleHeight = r.bottom;
        t.place(1, r.left, r.top);
        t.shootWith([&](Field& f) { f.VelocityX[1] = r.vx, f.VelocityY[1] = r.vy; }, 1);
        EXPECT_EQ(t.piece(1).Left, r.wantLeft) << r.name;
        EXPECT_EQ(t.piece(1).Top, r.wantTop) << r.name;
        EXPECT_EQ(t.field.VelocityX[1], r.wantVx) << r.name;
        EXPECT_EQ(t.field.VelocityY[1], r.wantVy) << r.name;
    }
}

TEST(MainLoop, SlowShotMovesNothingAndSettlesAtOnce) {
    ShotTable t(2);
    t.g.InGame[2] = false;  // brought in by the settlement: the shooter is on the board
    t.place(1, 4850, 4850);
    const ShotResult r = t.shoot(5000, 4000, 5000, 5000, 1310);  // 74: 1.233 per step
    EXPECT_EQ(r.cycles, 1);
    EXPECT_EQ(r.steps, 0);
    EXPECT_EQ(t.piece(1).Top, 4850);
    EXPECT_TRUE(t.g.InGame[2]);
}

TEST(MainLoop, PieceOffTheBoardMovesOnlyAlongY) {
    // Off the board a piece steps only for its y part; along x alone no cycle
    // takes a step, and the shot ends instead of running forever.
    const float pointers[][4] = {{4000, 5000, 5000, 5000}, {5000, 4000, 5000, 5000}};
    for (int k = 0; k < 2; ++k) {
        ShotTable t(1);
        t.g.InGame[1] = false;
        t.g.Position[1] = 0;
        t.place(1, 4850, 4850);
        const ShotResult r = t.shoot(pointers[k][0], pointers[k][1], pointers[k][2], pointers[k][3], 2500, 1000);
        EXPECT_FALSE(r.unfinished);
        EXPECT_EQ(r.steps, k == 0 ? 0 : 83);
        EXPECT_EQ(t.piece(1).Left, 4850);
    }
}

TEST(MainLoop, WaitsStepDelayYieldsBeforeEachStep) {
    struct Row {
        double delaySetInShot;  // < 0: keep the calibrated 400
        long perStep;
    };
    for (const Row r : {Row{-1, 400}, Row{2.7, 2}, Row{1, 1}, Row{0.99, 0}}) {
        ShotTable t(1);
        t.ui.secondsPerYield = 0.1 / 10000;  // calibrates to 400
        t.place(1, 4850, 4850);
        long calls = 0;
        t.ui.onYield = [&] {
            // The first step's batch of 400 is under way: change the delay
            // for the steps that follow.
            if (++calls == 2 && r.delaySetInShot >= 0) t.field.StepDelay = r.delaySetInShot;
        };
        const ShotResult res = t.shoot(5000, 4000, 5000, 5000, 2500);
        ASSERT_EQ(res.steps, 83);
        EXPECT_EQ(t.ui.yields, 10000 + 400 + r.perStep * 82) << r.delaySetInShot;
        EXPECT_EQ(calls, 2 + (r.perStep > 0 ? 82 : 0)) << r.delaySetInShot;
    }
}

TEST(MainLoop, MovingPartAgreesWithRoundingTheStepCount) {
    // The loop's quick test must give the answer of rounding v / 2.5 half-even.
    const auto isMovingPart = [](float v) { return roundHalfEven(double(v) / 2.5) != 0.0; };
    const float specials[] = {0.0f, -0.0f, 1.25f, -1.25f, 3.75f, 1e30f, -1e30f, std::numeric_limits<float>::infinity(),
                              std::numeric_limits<float>::quiet_NaN()};
    for (float v : specials) EXPECT_EQ(engine::movingPart(v), isMovingPart(v)) << v;
    for (float v = 1.2f; v < 1.3f; v = std::nextafter(v, 2.0f)) {
        ASSERT_EQ(engine::movingPart(v), isMovingPart(v)) << v;
        ASSERT_EQ(engine::movingPart(-v), isMovingPart(-v)) << -v;
    }
}
