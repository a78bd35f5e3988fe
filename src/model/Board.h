// The main window's field as plain data: every element with its place and
// look, in twips (origin at the top-left of the client area, y downward).
// The game logic reads and moves these; the view only draws them.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/Shapes.h"

namespace capzel {

constexpr int kTwipsPerPixel = 15;
constexpr float kClientWidth = 10950;
constexpr float kClientHeight = 9390;
constexpr int kSpotCount = 29;
constexpr int kWallCount = 10;
constexpr int kMaxPlayers = 8;
constexpr int kGuideCount = 24;  // indices 0..23; index 6 does not exist

// The power bar: a white picture area in which the charge draws blue rows.
struct PowerBar {
    Box box;  // Left 45, Top 2760, Width 480, Height 6585
    // Rows drawn since the last clear, as [top, bottom] twip ranges inside
    // the bar (y = 0 at its top), in the order they were drawn.
    struct Span {
        int top;
        int bottom;
        int x1;
        int x2;
    };
    std::vector<Span> drawn;
    int revision = 0;  // grows at every clear or draw, so a view can skip repaints

    float scaleWidth() const { return box.width; }
    float scaleHeight() const { return box.height; }
    void clear() {
        drawn.clear();
        ++revision;
    }
    void drawRows(int top, int bottom, int x1, int x2) {
        drawn.push_back({top, bottom, x1, x2});
        ++revision;
    }
};

struct Button {
    Box box;
    std::string caption;
};

struct Label {
    Box box;
    std::string caption;
};

struct Board {
    Box fieldPicture;
    Line leftLine;
    Line rightLine;
    std::array<Box, kSpotCount + 1> spots{};       // 1..29; 0 unused
    std::array<Box, kWallCount + 1> walls{};       // 1..10; 0 unused
    std::array<Box, kMaxPlayers + 1> pieces{};    // 1..8;  0 unused
    Box pieceHolder;
    std::array<Line, 4> centerLines{};
    std::array<Line, kGuideCount> guideLines{};     // 0..5, 7..23
    Line pointer;
    PowerBar powerBar;
    Button goButton;
    Label aimLabel;

    float scaleWidth = kClientWidth;    // the window's inner size
    float scaleHeight = kClientHeight;
    int zCounter = 0;

    static bool guideExists(int index) { return index >= 0 && index < kGuideCount && index != 6; }

    void bringToFront(Box& b) { b.z = ++zCounter; }
    void bringToFront(Line& l) { l.z = ++zCounter; }
};

// The layout the main window is created with, the same at every start.
Board makeBoardLayout();

// The label of a target region as drawn on the field ("1".."13", "A".."D").
std::string spotLabel(int k);

}  // namespace capzel
