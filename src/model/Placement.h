// The containment test of the rules and the centring of a piece on a region,
// shared by the shot engine, the turn rules, the aiming controls and the
// hidden commands.
#pragma once

#include "model/Shapes.h"

namespace capzel {

// The piece lies strictly inside the region: L > SL, SL + SW > L + W,
// T > ST, ST + SH > T + H, each sum rounded to float before comparing.
bool strictlyInside(const Box& piece, const Box& region);

// Centres the piece on the region: Left = SL + SW/2 - W/2, then
// Top = ST + SH/2 - H/2, stored as float.
void centrePieceOn(Box& piece, const Box& region);

// Placing a piece by hand: the mouse asks for the piece's left (or top)
// edge at `wanted`; the piece stays within the region along that axis, its
// edge held between the region's start and the region's end less the
// piece's size (the end first, so a piece larger than its region rests at
// the end).
float holdWithin(float wanted, float start, float size, float pieceSize);

// Whether a piece placed at (left, top) lies where placing it by hand within
// the region can put it: the same place holdWithin gives on both axes.
bool placeableWithin(const Box& region, const Box& piece, float left, float top);

}  // namespace capzel
