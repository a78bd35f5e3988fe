// The game state's target labels and phase flags, the board's layout and the
// rounding every number of the game goes through.
#include <gtest/gtest.h>

#include "model/GameState.h"
#include "model/Numbers.h"

using namespace capzel;

TEST(TargetLabel, FollowsThePhaseOfTheCurrentPlayer) {
    struct Row {
        int position;
        int p;
        const char* label;
    };
    const Row rows[] = {
        {12, 13, "13"}, {13, 14, "12"}, {24, 25, "1"}, {25, 26, "A"},
        {25, 25, "1"},  {28, 29, "D"},  {0, 1, "1"},   {13, 13, "13"},
    };
    for (const Row& r : rows) {
        modCapzel g;
        g.NumberOfPlayers = 2;
        g.CurrentTurn = 2;
        g.recreatePerGameTables();
        g.Position[2] = r.position;
        EXPECT_EQ(g.TargetLabel(r.p), r.label) << "position " << r.position << ", p " << r.p;
    }
}

TEST(TargetLabel, RefreshesFlagsExceptForAKiller) {
    modCapzel g;
    g.NumberOfPlayers = 1;
    g.CurrentTurn = 1;
    g.recreatePerGameTables();
    g.Position[1] = 31;  // pushed past 29 by hand: all three flags stay true
    g.TargetLabel(32);
    EXPECT_TRUE(g.HeadingInReverse[1]);
    EXPECT_TRUE(g.OnLetters[1]);
    EXPECT_TRUE(g.IsKiller[1]);

    g.Position[1] = 3;  // a killer's flags are not refreshed
    g.TargetLabel(4);
    EXPECT_TRUE(g.IsKiller[1]);
    EXPECT_TRUE(g.OnLetters[1]);
}

TEST(BoardLayout, ReverseTwinsShareTheirBoxes) {
    // Boxes 14..25 are boxes 12..1 again, on the way back.
    const Board b = makeBoardLayout();
    for (int k = 14; k <= 25; ++k) {
        EXPECT_EQ(b.Spot[k].Left, b.Spot[26 - k].Left) << k;
        EXPECT_EQ(b.Spot[k].Top, b.Spot[26 - k].Top) << k;
    }
}

TEST(Numbers, HalvesGoToEven) {
    EXPECT_EQ(roundHalfEven(2.5), 2.0);
    EXPECT_EQ(roundHalfEven(3.5), 4.0);
    EXPECT_EQ(roundHalfEven(-2.5), -2.0);
}
