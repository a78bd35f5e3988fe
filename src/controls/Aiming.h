// The player's side of a shot: aiming with the mouse, placing a piece by
// hand within its box, and the power bar's marks. What the player sets stays
// on the board's side (PendingShot) until "Go" hands it to the rulebook as
// a shot; the charge and the shot themselves are runs of the turn
// controller.
#pragma once

#include <array>
#include <string>

#include <optional>

#include "model/Command.h"
#include "model/Game.h"
#include "model/WindowState.h"

namespace capzel {

// Mouse button and shift sets, compared whole.
constexpr int kLeftButton = 1;
constexpr int kShiftOnly = 1;

// Distances from the bottom of the power bar at which a gap is left.
std::array<int, 8> powerMarks();

// True when a tick at `level` (a row of a bar of inner height h) falls in a
// gap just above one of the marks, so that it draws nothing.
bool levelInGap(int level, int h);

// The aim label's three lines: centre, mouse point, and their difference.
std::string aimLabelText(float x1, float y1, float x2, float y2);

// What the player at the board has set for the next shot: the aim line
// (shown while aiming) and a piece placed by hand within its box.
struct PendingShot {
    Line aim{0, 0, 0, 0, false};  // hidden until the player aims: no aim, no shot
    std::optional<HandPlacement> placement;  // the piece of the player whose turn it is
};

// Where the piece of the player whose turn it is stands for the next shot:
// placed by hand, or where the game has it.
Box pendingPiece(const Game& g, const PendingShot& pending);

// Mouse moved over the window: buttons B, shift keys S, point in twips. An
// aim also writes its figures into `aimLabel`. The game is only read.
void handleMouseMove(const Game& g, PendingShot& pending, Label& aimLabel, int buttons, int shift, float x, float y);

}  // namespace capzel
