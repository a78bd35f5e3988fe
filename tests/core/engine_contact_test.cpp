// The contact pass: touching, logging, killing, pushing, pacing.
#include <gtest/gtest.h>

#include "engine/ContactPass.h"
#include "support/ShotTable.h"

using namespace capzel;
using capzel::test::ShotTable;

namespace {
// Six players, shooter 3; piece j's centre lies (dx, dy) from piece i's.
struct Contact : ShotTable {
    Contact() : ShotTable(6, 3) {
        for (int k = 1; k <= 6; ++k) place(k, 600 + 1000 * k, 600);
        field.StepDelay = 6000;
    }
    void pair(int i, int j, float dx, float dy) { place(j, piece(i).Left + dx, piece(i).Top + dy); }
};
}  // namespace

TEST(ContactPass, TouchingIsStrictAndPushesHalfTheOverlapEach) {
    struct Row {
        float dx, dy;  // centre of j seen from i
        float vx, vy;  // push that i gets; j gets the opposite
    };
    const Row rows[] = {{300, 0, 0, 0}, {0, 300, 0, 0}, {-280, 0, 10, 0}, {0, 299, 0, -0.5f}, {-168, -224, 6, 8}};
    for (const Row& r : rows) {
        Contact t;
        t.pair(2, 5, r.dx, r.dy);
        engine::contactPass(t.ctx, 2);
        EXPECT_EQ(t.g.HitCount, r.vx != 0 || r.vy != 0 ? 1 : 0) << r.dx << "," << r.dy;
        EXPECT_FLOAT_EQ(t.field.VelocityX[2], r.vx) << r.dx << "," << r.dy;
        EXPECT_FLOAT_EQ(t.field.VelocityY[2], r.vy) << r.dx << "," << r.dy;
        EXPECT_FLOAT_EQ(t.field.VelocityX[5], -r.vx) << r.dx << "," << r.dy;
        EXPECT_FLOAT_EQ(t.field.VelocityY[5], -r.vy) << r.dx << "," << r.dy;
    }
}

TEST(ContactPass, APairScoresAndIsLoggedOnceInEitherOrder) {
    Contact t;
    t.g.Score[3] = 200;
    t.pair(2, 5, -280, 0);
    engine::contactPass(t.ctx, 2);
    engine::contactPass(t.ctx, 5);  // the same pair found as (5, 2)
    EXPECT_EQ(t.g.Score[3], 210);
    EXPECT_EQ(t.g.HitCount, 1);
    EXPECT_EQ(t.g.HitFirst[1], 2);
    EXPECT_EQ(t.g.HitSecond[1], 5);
    EXPECT_FLOAT_EQ(t.field.VelocityX[2], 20);  // pushed in both of its passes
    EXPECT_EQ(t.field.StepDelay, 3000);         // shortened once
}

TEST(ContactPass, FromTheTwentyFirstPairEntryTwentyIsOverwritten) {
    Contact t;
    t.g.HitCount = 20;
    for (int k = 1; k <= 20; ++k) {
        t.g.HitFirst[k] = k < 20 ? 10 + k : 4;  // player numbers only in entry 20
        t.g.HitSecond[k] = k < 20 ? 40 + k : 6;
    }
    t.pair(1, 2, 200, 0);
    engine::contactPass(t.ctx, 1);
    EXPECT_EQ(t.g.HitCount, 20);
    EXPECT_EQ(t.g.HitFirst[20], 1);
    EXPECT_EQ(t.g.HitSecond[20], 2);
    t.pair(6, 4, 0, 250);  // the pair that entry 20 held is new again
    engine::contactPass(t.ctx, 6);
    EXPECT_EQ(t.g.HitFirst[20], 6);
    EXPECT_EQ(t.g.Score[3], 20);
}

TEST(ContactPass, OnlyTheShootingKillersOwnPieceKills) {
    struct Row {
        int i, j;
        bool shooterIsKiller;
        int dead;  // 0: nobody
        int points;
    };
    const Row rows[] = {{3, 6, true, 6, 110}, {6, 3, true, 6, 110}, {4, 6, true, 0, 10}, {3, 6, false, 0, 10}};
    for (const Row& r : rows) {
        Contact t;
        t.g.IsKiller[3] = r.shooterIsKiller;
        t.pair(r.i, r.j, 0, 200);
        engine::contactPass(t.ctx, r.i);
        EXPECT_EQ(t.g.Score[3], r.points) << r.i << "-" << r.j;
        EXPECT_EQ(t.g.KillCount, r.dead ? 1 : 0) << r.i << "-" << r.j;
        for (int k = 1; k <= 6; ++k) EXPECT_EQ(t.g.Dead[k], k == r.dead) << r.i << "-" << r.j << " " << k;
    }
}

TEST(ContactPass, PiecesOffTheBoardAreNotTouched) {
    Contact t;
    t.g.InGame[5] = false;
    t.pair(2, 5, 100, 0);
    engine::contactPass(t.ctx, 2);
    EXPECT_EQ(t.g.HitCount, 0);
    EXPECT_EQ(t.field.VelocityX[2], 0);
}

TEST(ContactPass, CoincidingCentresUseTheOffsetsOfTheLastContact) {
    Contact t;
    t.field.ox = 7;
    t.field.oy = -3;
    t.pair(2, 5, 0, 0);
    engine::contactPass(t.ctx, 2);
    EXPECT_EQ(t.field.ox, 7);
    EXPECT_EQ(t.field.oy, -3);
    EXPECT_FLOAT_EQ(t.field.VelocityX[2], 7);
    EXPECT_FLOAT_EQ(t.field.VelocityY[2], -3);
    EXPECT_FLOAT_EQ(t.field.VelocityX[5], -7);
    EXPECT_FLOAT_EQ(t.field.VelocityY[5], 3);
}

TEST(ContactPass, NewPairScalesTheStepDelayByPiecesInMotion) {
    struct Row {
        int alsoMoving;  // other pieces with a leftover velocity
        float overlap;   // 0: centres coincide, with no earlier offsets
        double delay;
    };
    // m = 2, 3, 6 pieces with velocity; m = 0 leaves the delay.
    const Row rows[] = {{0, 20, 3000}, {1, 20, 4000}, {4, 20, 5000}, {0, 0, 6000}};
    for (const Row& r : rows) {
        Contact t;
        const int others[] = {1, 3, 4, 6};
        for (int k = 0; k < r.alsoMoving; ++k) t.field.VelocityY[others[k]] = 0.25f;
        t.pair(2, 5, r.overlap ? 300 - r.overlap : 0, 0);
        engine::contactPass(t.ctx, 2);
        EXPECT_EQ(t.field.StepDelay, r.delay) << r.alsoMoving << " " << r.overlap;
    }
    Contact one;  // m = 1: the rest of the shot runs without delay
    one.field.VelocityX[2] = 5;
    one.pair(2, 5, 0, 0);
    engine::contactPass(one.ctx, 2);
    EXPECT_EQ(one.field.StepDelay, 0);
}
