// A shot as a player makes it at the board: the far end of the aim line
// (the line runs from the centre of the piece to that point, and the piece
// leaves the other way) and the number of power-bar ticks before "Go".
//
// The same values drive the window's aiming and the planner's trial runs,
// so a shot planned here and replayed at the board gives the same result.
#pragma once

#include <cstdint>
#include <optional>

#include "model/Command.h"
#include "model/GameContext.h"
#include "model/PowerBarScale.h"
#include "rules/Announcement.h"

namespace capzel::players {

struct PlannedShot {
    float aimX = 0;    // mouse point the aim line runs to, in field twips
    float aimY = 0;
    int barTicks = 1;  // ticks of the power bar before "Go" stops it (1 = the first)
};

// The strength "Go" hands to the shot after `ticks` ticks (model/PowerBarScale.h).
std::int16_t barStrength(const Board& board, int ticks);

// The centre of a piece, as the aim line's first end takes it.
float aimStartX(const Box& piece);
float aimStartY(const Box& piece);

// A shot of the current player that sends the piece along `angle` (radians,
// 0 along +x, pi/2 along +y, the field's y growing downwards) with the bar
// stopped after `ticks` ticks (held to the bar's range).
PlannedShot shotAlong(const Game& g, double angle, int ticks);

// The direction in which a planned shot sends the piece, as an angle.
double angleOf(const Game& g, const PlannedShot& shot);

// The shot command of a planned shot, as a player at the board would give
// it: the seat whose turn it is, the aim from the shooter's piece centre,
// the strength of the bar's ticks.
ShotCommand plannedShotCommand(const Game& g, const PlannedShot& shot);

// Plays a planned shot for the current player as the board does once "Go"
// has fired it: the aim line from the piece's centre, the bar's strength,
// the shot, then the rules. Gives what the rules announced, or nothing (and
// nothing judged) when the shot has not come to rest within `maxCycles`
// cycles. When `inTarget` is given, it is set to whether the shot left the
// shooter's piece in the next target, before the rules move it on (false
// for a killer, who has none, and for a shot that never rested).
std::optional<Judgement> playShot(GameContext& ctx, const PlannedShot& shot, long maxCycles,
                                  bool* inTarget = nullptr);

}  // namespace capzel::players
