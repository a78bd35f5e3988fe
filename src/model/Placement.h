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

}  // namespace capzel
