// The board layout (rounding: SaveFileFormat; target labels: the rules table).
#include <gtest/gtest.h>

#include "model/Game.h"
#include "model/WindowState.h"

using namespace capzel;

namespace {

// FNV-1a over the numbers of a layout, in order.
struct LayoutHash {
    std::uint64_t value = 0xcbf29ce484222325ull;
    void add(std::initializer_list<double> numbers) {
        for (const double v : numbers)
            for (int k = 0; k < 8; ++k) value = (value ^ std::uint8_t(static_cast<std::int64_t>(v * 16) >> (8 * k))) * 0x100000001b3ull;
    }
    void add(const Box& b) { add({b.left, b.top, b.width, b.height, double(b.visible), double(b.fillColor)}); }
    void add(const Line& l) { add({l.x1, l.y1, l.x2, l.y2, double(l.visible), double(l.lineColor), double(l.borderWidth)}); }
};

}  // namespace

// Pinned: every record and saved game was played on this field.
TEST(BoardLayout, TheFieldItsLabelsAndMarksArePinned) {
    // Boxes 14..25 are boxes 12..1 on the way back; 26..29 are the letters.
    for (int k = 14; k <= 25; ++k) EXPECT_EQ(spotLabel(k), std::to_string(26 - k)) << k;
    EXPECT_EQ(spotLabel(13) + spotLabel(26) + spotLabel(29), "13AD");
    // The guide lines are numbered 0 to 23 with no line 6.
    std::string guides;
    for (int g = -1; g <= 24; ++g) guides += FieldMarkings::guideExists(g) ? 'x' : '-';
    EXPECT_EQ(guides, "-xxxxxx-xxxxxxxxxxxxxxxxx-");
    // The start-up field: every piece's place, size and colour, the walls, the holder and the edges.
    Game g;
    g.numberOfPlayers = kMaxPlayers;
    EXPECT_EQ(g.hash(), 0x337ac93101c9295ull) << std::hex << g.hash();
    // The boxes pieces land in, and the marks a window draws around them.
    LayoutHash boxes, marks;
    for (const Box& spot : makeBoardLayout().spots) boxes.add(spot);
    const FieldMarkings m = makeFieldMarkings();
    marks.add(m.fieldPicture);
    for (const Line& l : m.centerLines) marks.add(l);
    for (const Line& l : m.guideLines) marks.add(l);
    EXPECT_EQ(boxes.value, 0x68373d3ca5fcf81eull) << std::hex << boxes.value;
    EXPECT_EQ(marks.value, 0xd028887e75f71032ull) << std::hex << marks.value;
}
