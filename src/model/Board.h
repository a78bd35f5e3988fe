// The main window's field as plain data: every element with its place and
// look, in twips (origin at the top-left of the client area, y downward).
// The game logic reads and moves these; the view only draws them.
#pragma once

#include <array>
#include <string>

#include "model/Shapes.h"

namespace capzel {

constexpr int kTwipsPerPixel = 15;
constexpr float kClientWidth = 10950;
constexpr float kClientHeight = 9390;
constexpr int kSpotCount = 29;
constexpr int kWallCount = 10;
constexpr int kMaxPlayers = 8;
constexpr int kGuideCount = 24;  // indices 0..23; index 6 does not exist

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

    float scaleWidth = kClientWidth;    // the window's inner size
    float scaleHeight = kClientHeight;

    static bool guideExists(int index) { return index >= 0 && index < kGuideCount && index != 6; }
};

// The layout the main window is created with, the same at every start.
Board makeBoardLayout();

// The label of a target region as drawn on the field ("1".."13", "A".."D").
std::string spotLabel(int k);

}  // namespace capzel
