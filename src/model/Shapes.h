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
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
    bool Visible = true;
    Color FillColor = 0;
    int Z = 0;  // drawing order among the shapes that can be brought to front
};

enum class LineStyle { Solid, DashDotDot };

struct Line {
    float X1 = 0;
    float Y1 = 0;
    float X2 = 0;
    float Y2 = 0;
    bool Visible = true;
    Color LineColor = 0;
    int BorderWidth = 1;  // pixels
    LineStyle Style = LineStyle::Solid;
    int Z = 0;
};

}  // namespace capzel
