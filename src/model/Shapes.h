// Plain-data shapes of the main window: rectangles, circles and lines in
// twips, with the look the view needs to draw them. The view reads these and
// never keeps a copy of its own.
#pragma once

#include <cstdint>

namespace capzel {

// A colour number: red + 256 * green + 65536 * blue, components 0..255.
using Color = std::uint32_t;

constexpr Color rgb(int r, int g, int b) {
    return Color(r) + 256u * Color(g) + 65536u * Color(b);
}
constexpr int redOf(Color c) { return int(c & 0xFFu); }
constexpr int greenOf(Color c) { return int((c >> 8) & 0xFFu); }
constexpr int blueOf(Color c) { return int((c >> 16) & 0xFFu); }

// A rectangle or circle on the field (piece, spot, wall, holder, picture).
struct Box {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool visible = true;
    Color fillColor = 0;
    bool operator==(const Box&) const = default;
};

enum class LineStyle { Solid, DashDotDot };

struct Line {
    float x1 = 0;
    float y1 = 0;
    float x2 = 0;
    float y2 = 0;
    bool visible = true;
    Color lineColor = 0;
    int borderWidth = 1;  // pixels
    LineStyle style = LineStyle::Solid;
    bool operator==(const Line&) const = default;
};

inline Box makeBox(float left, float top, float width, float height, bool visible, Color fill) {
    Box b;
    b.left = left;
    b.top = top;
    b.width = width;
    b.height = height;
    b.visible = visible;
    b.fillColor = fill;
    return b;
}

inline Line makeLine(float x1, float y1, float x2, float y2, Color color, int width, bool visible) {
    Line l;
    l.x1 = x1;
    l.y1 = y1;
    l.x2 = x2;
    l.y2 = y2;
    l.lineColor = color;
    l.borderWidth = width;
    l.visible = visible;
    return l;
}

}  // namespace capzel
