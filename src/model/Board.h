// The field a game is played on as plain data: every element the game reads
// or moves, with its place and look, in twips (origin at the top-left of the
// client area, y downward). A view only draws them.
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

struct Board {
    Line leftLine;
    Line rightLine;
    std::array<Box, kSpotCount + 1> spots{};       // 1..29; 0 unused
    std::array<Box, kWallCount + 1> walls{};       // 1..10; 0 unused
    std::array<Box, kMaxPlayers + 1> pieces{};    // 1..8;  0 unused
    Box pieceHolder;
    Line pointer;  // the aim line

    float scaleWidth = kClientWidth;    // the window's inner size
    float scaleHeight = kClientHeight;
};

// The layout the main window is created with, the same at every start.
Board makeBoardLayout();

// The label of a target region as drawn on the field ("1".."13", "A".."D").
std::string spotLabel(int k);

}  // namespace capzel
