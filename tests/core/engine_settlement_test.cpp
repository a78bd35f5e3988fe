// The end of a shot: pieces sent into their targets, dead pieces leave.
#include <gtest/gtest.h>

#include "support/ShotTable.h"

using namespace capzel;
using capzel::test::ShotTable;

namespace {
// A shot of no strength: nothing moves, the settlement runs at once.
void settle(ShotTable& t) { t.shoot(5000, 5000, 5000, 5000, 0); }
}  // namespace

TEST(Settlement, PiecesInTheirNextTargetsAdvanceAndPayTheShooter) {
    ShotTable t(3);
    t.g.Score[1] = 200;
    t.g.Position[3] = 5;
    t.place(2, 8900, 8200);  // inside box 4, target 4
    t.place(3, 5600, 8200);  // inside box 6, target 6
    settle(t);
    EXPECT_EQ(t.g.Score[1], 230);
    EXPECT_EQ(t.g.SentCount, 2);
    EXPECT_EQ(t.g.Position[2], 4);
    EXPECT_EQ(t.g.Position[3], 6);
}

TEST(Settlement, OnlyStrictlyInsideCountsForOthersWhoAreNotKillers) {
    // Target 4 is Left 8580, Top 7920, 1000 x 1000; the piece is 300 x 300.
    struct Row {
        const char* name;
        float left, top;
        int owner;  // whose piece stands there
        bool killer;
        bool sent;
    };
    const Row rows[] = {
        {"inside", 8581, 7921, 2, false, true},
        {"on the left border", 8580, 8200, 2, false, false},
        {"on the right border", 9280, 8200, 2, false, false},
        {"on the top border", 8900, 7920, 2, false, false},
        {"on the bottom border", 8900, 8620, 2, false, false},
        {"a killer is not sent", 8900, 8200, 2, true, false},
        {"the shooter is not sent", 8900, 8200, 1, false, false},
    };
    for (const Row& r : rows) {
        ShotTable t(2);
        t.g.IsKiller[r.owner] = r.killer;
        t.place(r.owner, r.left, r.top);
        settle(t);
        EXPECT_EQ(t.g.SentCount, r.sent ? 1 : 0) << r.name;
        EXPECT_EQ(t.g.Position[r.owner], r.sent ? 4 : 3) << r.name;
    }
}

TEST(Settlement, DeadPiecesGoToTheirHolderSlot) {
    for (int shooterPosition : {3, 0}) {
        ShotTable t(3);
        t.g.Position[1] = shooterPosition;
        t.g.Dead[2] = true;
        t.field.board.PieceHolder.Visible = false;
        t.place(2, 2000, 2000);
        settle(t);
        // Before the shooter has entered the board nobody leaves it.
        const bool leaves = shooterPosition > 0;
        EXPECT_EQ(t.g.InGame[2], !leaves);
        EXPECT_EQ(t.field.board.PieceHolder.Visible, leaves);
        EXPECT_EQ(t.piece(2).Left, leaves ? 10245 + 75 : 2000);
        EXPECT_EQ(t.piece(2).Top, leaves ? 45 + 75 + 300 : 2000);  // slot of player 2 of 3
    }
}

TEST(Settlement, KillerBreaksThroughAPiece) {
    ShotTable t(2);
    t.g.IsKiller[1] = true;
    t.g.Score[1] = 500;
    t.place(1, 4850, 6000);
    t.place(2, 4850, 5000);
    const ShotResult r = t.shoot(5000, 5000, 5000, 6000, 5000);
    EXPECT_FALSE(r.unfinished);
    EXPECT_EQ(t.g.KillCount, 1);
    EXPECT_EQ(t.g.HitCount, 1);
    EXPECT_EQ(t.g.Score[1], 610);
    EXPECT_TRUE(t.g.Dead[2]);
    EXPECT_FALSE(t.g.InGame[2]);
    EXPECT_EQ(t.piece(2).Top, 45 + 75);  // the top slot of two
    EXPECT_TRUE(t.g.InGame[1]);
}
