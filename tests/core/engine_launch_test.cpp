// The launch: strength curve, aim and calibration. The worked shot, played
// to its end, is checked bit for bit in engine_sim_test.
#include <gtest/gtest.h>

#include "engine/Launch.h"
#include "support/ShotTable.h"

using namespace capzel;
using capzel::test::ShotTable;

TEST(StrengthCurve, FollowsTheTable) {
    const int rows[][2] = {{1000, 37}, {1320, 76}, {2000, 223}, {2500, 398}, {3000, 640}, {5000, 2414},
                           {1310, 74}, {0, 0},     {-2500, -398}, {30000, 32767}, {-30000, -32768}};
    for (const auto& r : rows) EXPECT_EQ(engine::strengthCurve(r[0]), r[1]) << r[0];
}

TEST(Launch, FirstVelocityFromAimAndStrength) {
    struct Row {
        float x1, y1, x2, y2;
        int power;
        float vx, vy;
    };
    const Row rows[] = {
        {5000, 4000, 5000, 5000, 2500, 0.0f, float(-497.5 / 75)},  // straight up
        {5000, 5000, 4000, 4000, 2500, float(497.5 / 75), float(497.5 / 75)},  // diagonal: both parts full
        {5000, 5000, 5400, 5200, 1320, float(-95.0 / 75), float(-47.5 / 75)},  // x larger: 1.267 along x
        {5000, 5000, 5000, 5000, 5000, 0.0f, 0.0f},  // no direction: nothing moves
    };
    for (const Row& r : rows) {
        ShotTable t(1);
        t.place(1, 4850, 4850);
        const ShotResult res = t.shoot(r.x1, r.y1, r.x2, r.y2, r.power, 0);
        EXPECT_TRUE(res.unfinished);
        EXPECT_EQ(t.field.VelocityX[1], r.vx) << r.x2 << "," << r.y2;
        EXPECT_EQ(t.field.VelocityY[1], r.vy) << r.x2 << "," << r.y2;
    }
}

TEST(Launch, ResetsVelocitiesAndTheLogOfTheLastShot) {
    ShotTable t(3);
    t.field.VelocityX[2] = 7;
    t.field.VelocityY[3] = 1;
    t.g.HitCount = 4;
    t.g.HitFirst[4] = 2;
    t.g.KillCount = t.g.SentCount = 1;
    t.shoot(5000, 5000, 5000, 5000, 0, 0);
    EXPECT_EQ(t.field.VelocityX[2], 0);
    EXPECT_EQ(t.field.VelocityY[3], 0);
    EXPECT_EQ(t.g.HitCount + t.g.HitFirst[4] + t.g.KillCount + t.g.SentCount, 0);
}

TEST(Calibration, MapsTenThousandYieldsToADelay) {
    const double rows[][2] = {{0.0, 6000}, {0.04, 6000}, {0.05, 400}, {0.1, 400},
                              {0.194, 400}, {0.2, 100},  {0.5, 100}};
    for (const auto& r : rows) {
        ShotTable t(1);
        t.ui.clockNow = 43200;
        t.ui.secondsPerYield = r[0] / 10000;
        t.shoot(5000, 5000, 5000, 5000, 0);
        EXPECT_EQ(t.field.StepDelay, r[1]) << r[0];
        EXPECT_EQ(t.ui.yields, 10000);
        EXPECT_EQ(t.ui.yieldBatches, 1);
    }
}
