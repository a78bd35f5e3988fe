#include "ui/AboutPiece.h"

#include <cmath>
#include <utility>

namespace capzel::ui {

namespace {
float fsum(float a, float b) { return float(double(a) + double(b)); }
}  // namespace

AboutPiece::AboutPiece(RandomBit randomBit) : randomBit_(std::move(randomBit)) {
    Left = float(2714.0 / kAboutUnitX);
    Width = float(300.0 / kAboutUnitX);
    Height = float(300.0 / kAboutUnitY);
    Floor = float(2460.0 / kAboutUnitY);
    Top = float(double(Floor) - double(Height));  // resting on the floor line
}

// Sideways speed fades by a thousandth a tick and stops once it would show
// as 0.00.
void AboutPiece::fadeSpeedX() {
    if (std::nearbyint(SpeedX * 100.0) == 0.0)
        SpeedX = 0;
    else
        SpeedX = SpeedX * 0.999;
}

// The window's sides send the piece back with 95 % of its sideways speed.
void AboutPiece::sideWalls() {
    if (fsum(Left, Width) >= ScaleWidth) {
        SpeedX = SpeedX * -0.95;
        Left = float(double(ScaleWidth) - double(Width));
    } else if (Left < 0) {
        SpeedX = SpeedX * -0.95;
        Left = 0;
    }
}

void AboutPiece::tick() {
    if (BounceState == kJump) {
        SpeedY = -50;
        const int r = randomBit_ ? randomBit_() : 0;
        SpeedX = r == 0 ? SpeedX - 50 : SpeedX + 50;
        BounceState = kFlying;  // nothing moves in this tick
        return;
    }
    if (BounceState == kFlying) {
        SpeedY = SpeedY + 1;
        fadeSpeedX();
        Left = float(double(Left) + SpeedX);
        Top = float(double(Top) + SpeedY);
        if (fsum(Top, Height) >= Floor) {
            if (std::fabs(SpeedY) < 1) {
                BounceState = kRestTicks;  // too slow to bounce: rest where it is
                SpeedY = 0;
            } else {
                SpeedY = SpeedY * -0.9;
                Top = float(double(Floor) - double(Height));
            }
        }
        sideWalls();
        return;
    }
    // Resting: roll on while the sideways speed fades, then jump again.
    fadeSpeedX();
    Left = float(double(Left) + SpeedX);
    BounceState = BounceState - 1;
    sideWalls();
}

const std::array<capzel::Color, 28> AboutColorCycle::PieceColors = {
    0,
    rgb(0, 0, 0),       rgb(127, 0, 0),     rgb(0, 127, 0),     rgb(0, 0, 127),
    rgb(127, 127, 0),   rgb(0, 127, 127),   rgb(127, 0, 127),   rgb(127, 127, 127),
    rgb(255, 0, 0),     rgb(0, 255, 0),     rgb(0, 0, 255),     rgb(255, 255, 0),
    rgb(0, 255, 255),   rgb(255, 0, 255),   rgb(255, 255, 255), rgb(127, 255, 0),
    rgb(127, 0, 255),   rgb(255, 127, 0),   rgb(0, 127, 255),   rgb(0, 255, 127),
    rgb(255, 0, 127),   rgb(127, 127, 255), rgb(127, 255, 127), rgb(255, 127, 127),
    rgb(255, 255, 127), rgb(255, 127, 255), rgb(127, 255, 255),
};

capzel::Color AboutColorCycle::next() {
    ColorIndex = ColorIndex + 1;
    if (ColorIndex > 27) ColorIndex = 1;
    return PieceColors[ColorIndex];
}

}  // namespace capzel::ui
