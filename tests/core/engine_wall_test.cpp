// The wall pass: corner hits, pieces spanning thin walls, walls off.
#include <gtest/gtest.h>

#include "engine/WallPass.h"
#include "support/ShotTable.h"

using namespace capzel;
using capzel::test::ShotTable;

namespace {
constexpr Box kUpright{3105, 4185, 135, 975};  // wall 6
constexpr Box kLying{4807, 2340, 1080, 165};   // wall 7
constexpr Box kSquare{3000, 3000, 200, 200};
}  // namespace

TEST(WallPass, PutsThePieceAgainstTheWallAndReflectsOnePart) {
    struct Row {
        const char* name;
        Box wall;
        float left, top;
        float wantLeft, wantTop, wantVx, wantVy;  // from a velocity of (-5, 5)
    };
    const Row rows[] = {
        {"upright, left edge inside: to the right face", kUpright, 3200, 4500, 3240, 4500, 4.5f, 5},
        {"upright, right edge inside: to the left face", kUpright, 2900, 4500, 2805, 4500, -4.5f, 5},
        {"upright, spanning it at its upper end", kUpright, 3000, 4000, 3000, 3885, -5, -4.5f},
        {"upright, spanning it at its lower end", kUpright, 3000, 5000, 3000, 5160, -5, 4.5f},
        {"lying, top edge inside: below it", kLying, 5000, 2400, 5000, 2505, -5, 4.5f},
        {"lying, bottom edge inside: above it", kLying, 5000, 2100, 5000, 2040, -5, -4.5f},
        {"lying, crossed at its left end", kLying, 4700, 2300, 4507, 2300, -4.5f, 5},
        {"lying, crossed along its length: beyond the right end", kLying, 5700, 2300, 5887, 2300, 4.5f, 5},
        {"square walls are lying", kSquare, 3100, 3100, 3100, 3200, -5, 4.5f},
        {"left edge on the right face: no hit", kUpright, 3240, 4500, 3240, 4500, -5, 5},
        {"top edge on the bottom face: no hit", kLying, 5000, 2505, 5000, 2505, -5, 5},
        {"left edges level, reaching into the wall's end: no hit", kUpright, 3105, 4000, 3105, 4000, -5, 5},
        {"beside the wall", kUpright, 2000, 4500, 2000, 4500, -5, 5},
    };
    for (const Row& r : rows) {
        ShotTable t(1);
        for (int j = 2; j <= kWallCount; ++j) t.field.board.Wall[j].Left = -5000;  // out of the way
        t.field.board.Wall[1] = r.wall;
        t.place(1, r.left, r.top);
        t.field.VelocityX[1] = -5;
        t.field.VelocityY[1] = 5;
        engine::wallPass(t.ctx, 1);
        EXPECT_EQ(t.piece(1).Left, r.wantLeft) << r.name;
        EXPECT_EQ(t.piece(1).Top, r.wantTop) << r.name;
        EXPECT_EQ(t.field.VelocityX[1], r.wantVx) << r.name;
        EXPECT_EQ(t.field.VelocityY[1], r.wantVy) << r.name;
    }
}

TEST(WallPass, EachWallSeesThePlaceThatTheLastOneLeft) {
    // Walls 9 and 10 lie on each other: the bounce off 9 puts the piece
    // flush against 10 as well, so the speed is reflected once.
    ShotTable t(1);
    t.place(1, 10800, 4500);
    t.field.VelocityX[1] = -20;
    engine::wallPass(t.ctx, 1);
    EXPECT_EQ(t.piece(1).Left, 10875);
    EXPECT_EQ(t.field.VelocityX[1], 18);
}

TEST(WallPass, AShotStopsAtAWallOnlyWhenWallsAreOn) {
    for (bool wallsOn : {true, false}) {
        ShotTable t(1);
        t.g.WallsOn = wallsOn;
        t.place(1, 2600, 4500);  // left of wall 6, shot to the right
        t.shoot(5000, 4650, 4000, 4650, 3000);
        EXPECT_EQ(t.piece(1).Left < 3105 - 300 + 1, wallsOn) << wallsOn;
    }
}
