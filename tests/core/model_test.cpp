// Target labels, phase flags and board layout (rounding: SaveFileFormat).
#include <gtest/gtest.h>

#include "model/GameSnapshot.h"

using namespace capzel;

TEST(targetLabel, FollowsThePhaseOfTheCurrentPlayer) {
    struct Row {
        int position;
        int p;
        const char* label;
    };
    const Row rows[] = {
        {12, 13, "13"}, {13, 14, "12"}, {24, 25, "1"}, {25, 26, "A"},
        {25, 25, "1"},  {28, 29, "D"},  {0, 1, "1"},   {13, 13, "13"},
        {30, 87, "~"},  {30, 88, "88"},  // far past D by hand: printable letters only
    };
    for (const Row& r : rows) {
        GameState g;
        g.numberOfPlayers = 2;
        g.currentTurn = 2;
        g.recreatePerGameTables();
        g.position[2] = r.position;
        EXPECT_EQ(g.targetLabel(r.p), r.label) << "position " << r.position << ", p " << r.p;
    }
}

TEST(targetLabel, RefreshesFlagsExceptForAKiller) {
    GameState g;
    g.numberOfPlayers = 1;
    g.currentTurn = 1;
    g.recreatePerGameTables();
    g.position[1] = 31;  // pushed past 29 by hand: all three flags stay true
    g.targetLabel(32);
    EXPECT_TRUE(g.headingInReverse[1]);
    EXPECT_TRUE(g.onLetters[1]);
    EXPECT_TRUE(g.isKiller[1]);

    g.position[1] = 3;  // a killer's flags are not refreshed
    g.targetLabel(4);
    EXPECT_TRUE(g.isKiller[1]);
    EXPECT_TRUE(g.onLetters[1]);
}

TEST(BoardLayout, ReverseTwinsShareTheirBoxes) {
    // Boxes 14..25 are boxes 12..1 on the way back; 26..29 are the letters.
    const Board b = makeBoardLayout();
    for (int k = 14; k <= 25; ++k) {
        EXPECT_EQ(b.spots[k].left, b.spots[26 - k].left) << k;
        EXPECT_EQ(b.spots[k].top, b.spots[26 - k].top) << k;
        EXPECT_EQ(spotLabel(k), std::to_string(26 - k)) << k;
    }
    EXPECT_EQ(spotLabel(13) + spotLabel(26) + spotLabel(29), "13AD");
    // The guide lines are numbered 0 to 23 with no line 6.
    std::string guides;
    for (int g = -1; g <= 24; ++g) guides += Board::guideExists(g) ? 'x' : '-';
    EXPECT_EQ(guides, "-xxxxxx-xxxxxxxxxxxxxxxxx-");
    // The start-up field, pinned: every piece's place, size and colour, the
    // walls, the holder and the edges a window shows before the first game.
    GameState g;
    g.numberOfPlayers = kMaxPlayers;
    EXPECT_EQ(stateHash(captureSnapshot(g, Field{})), 0x337ac93101c9295ull) << std::hex << stateHash(captureSnapshot(g, Field{}));
}
