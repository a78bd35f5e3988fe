#include "ui/windows/AboutPiece.h"

#include <cmath>
#include <utility>

namespace capzel::ui {

namespace {
float fsum(float a, float b) { return float(double(a) + double(b)); }
}  // namespace

AboutPiece::AboutPiece(RandomBit randomBit) : randomBit_(std::move(randomBit)) {
    left = float(2714.0 / kAboutUnitX);
    width = float(300.0 / kAboutUnitX);
    height = float(300.0 / kAboutUnitY);
    floorY = float(2460.0 / kAboutUnitY);
    top = float(double(floorY) - double(height));  // resting on the floor line
}

// Sideways speed fades by a thousandth a tick and stops once it would show
// as 0.00.
void AboutPiece::fadeSpeedX() {
    if (std::nearbyint(speedX * 100.0) == 0.0)
        speedX = 0;
    else
        speedX = speedX * 0.999;
}

// The window's sides send the piece back with 95 % of its sideways speed.
void AboutPiece::sideWalls() {
    if (fsum(left, width) >= scaleWidth) {
        speedX = speedX * -0.95;
        left = float(double(scaleWidth) - double(width));
    } else if (left < 0) {
        speedX = speedX * -0.95;
        left = 0;
    }
}

void AboutPiece::tick() {
    if (bounceState == kJump) {
        speedY = -50;
        const int r = randomBit_ ? randomBit_() : 0;
        speedX = r == 0 ? speedX - 50 : speedX + 50;
        bounceState = kFlying;  // nothing moves in this tick
        return;
    }
    if (bounceState == kFlying) {
        speedY = speedY + 1;
        fadeSpeedX();
        left = float(double(left) + speedX);
        top = float(double(top) + speedY);
        if (fsum(top, height) >= floorY) {
            if (std::fabs(speedY) < 1) {
                bounceState = kRestTicks;  // too slow to bounce: rest where it is
                speedY = 0;
            } else {
                speedY = speedY * -0.9;
                top = float(double(floorY) - double(height));
            }
        }
        sideWalls();
        return;
    }
    // Resting: roll on while the sideways speed fades, then jump again.
    fadeSpeedX();
    left = float(double(left) + speedX);
    bounceState = bounceState - 1;
    sideWalls();
}

const std::array<capzel::Color, 28> AboutColorCycle::pieceColors = {
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
    colorIndex = colorIndex + 1;
    if (colorIndex > 27) colorIndex = 1;
    return pieceColors[colorIndex];
}

}  // namespace capzel::ui
