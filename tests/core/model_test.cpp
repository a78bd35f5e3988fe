// The board layout (rounding: SaveFileFormat; target labels: the rules table).
#include <gtest/gtest.h>

#include "model/Game.h"
#include "model/WindowState.h"

using namespace capzel;

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
    for (int g = -1; g <= 24; ++g) guides += FieldMarkings::guideExists(g) ? 'x' : '-';
    EXPECT_EQ(guides, "-xxxxxx-xxxxxxxxxxxxxxxxx-");
    // The start-up field, pinned: every piece's place, size and colour, the
    // walls, the holder and the edges a window shows before the first game.
    Game g;
    g.numberOfPlayers = kMaxPlayers;
    EXPECT_EQ(g.hash(), 0x337ac93101c9295ull) << std::hex << g.hash();
}
