// The About box's bouncing piece and its colour cycle, as plain arithmetic
// without any window, so every tick can be checked exactly. All lengths are
// in the About box's own units (one unit = 1.0649 twips across, 1.4488 down).
#pragma once

#include <array>
#include <functional>
#include <utility>

#include "model/Shapes.h"

namespace capzel::ui {

// The About box's scale: its client area of 5730 x 3555 twips measures
// 5380.766 x 2453.724 units.
inline constexpr float kAboutScaleWidth = 5380.766f;
inline constexpr float kAboutScaleHeight = 2453.724f;
inline constexpr double kAboutClientTwipsW = 5730.0;
inline constexpr double kAboutClientTwipsH = 3555.0;
inline constexpr double kAboutUnitX = kAboutClientTwipsW / double(kAboutScaleWidth);  // twips per unit
inline constexpr double kAboutUnitY = kAboutClientTwipsH / double(kAboutScaleHeight);

class AboutPiece {
public:
    // Gives 0 or 1, each with chance one half.
    using RandomBit = std::function<int()>;

    // bounceState values besides the resting count 1..100.
    static constexpr int kJump = 0;
    static constexpr int kFlying = -1;
    static constexpr int kRestTicks = 100;

    // The piece as laid out: 300 x 300 twips at (2714, ...) resting on the
    // floor line at y = 2460 twips, inside a field kAboutScaleWidth wide.
    explicit AboutPiece(RandomBit randomBit);

    // One tick of the 10 ms animation timer.
    void tick();

    void setRandomBit(RandomBit randomBit) { randomBit_ = std::move(randomBit); }

    // Place and size (stored in single precision, like any shape).
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;

    double speedX = 0;  // units per tick; y grows downward
    double speedY = 0;
    int bounceState = kJump;

    float floorY = 0;                     // y1 of the floor line
    float scaleWidth = kAboutScaleWidth;  // W, the right wall

private:
    void fadeSpeedX();
    void sideWalls();

    RandomBit randomBit_;
};

// The piece's 27 colours, changed once a second.
class AboutColorCycle {
public:
    static const std::array<capzel::Color, 28> pieceColors;  // 1..27; 0 unused

    // Steps to the next colour (after 27 comes 1 again) and gives it.
    capzel::Color next();

    int colorIndex = 1;
};

}  // namespace capzel::ui
