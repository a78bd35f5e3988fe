// The wall pass: a piece that has just stepped bounces off the inner walls
// (only when the game was started with walls; the step checks that).
//
// Every wall is tested from the piece's box as the previous walls left it.
// A hit puts the piece flush against the wall and reflects one velocity part
// with 90 % of its size. The tests are inline, so that the step of a piece
// keeps the piece's box and velocity in registers through all of them.
#pragma once

#include <bit>
#include <cmath>

#include "engine/Assign.h"
#include "engine/WallGrid.h"
#include "model/Board.h"
#include "model/Numbers.h"

namespace capzel::engine {

// The box and velocity of the piece a pass works on.
struct MovingPiece {
    float left;
    float top;
    float width;
    float height;
    float vx;
    float vy;
};

namespace walls {

// One edge of [a, a + size) lies strictly inside the wall's range
// [w, w + wsize]: the near edge, or the far edge.
inline bool edgeInside(float a, float size, float w, float wsize) {
    const float wEnd = fsum(w, wsize);
    const float aEnd = fsum(a, size);
    return (a > w && wEnd > a) || (aEnd > w && wEnd > aEnd);
}

// The piece covers the wall's whole range: it reaches past both ends.
inline bool spans(float a, float size, float w, float wsize) {
    return a < w && fsum(w, wsize) < fsum(a, size);
}

// Puts one coordinate of the piece against the wall and reflects the
// matching velocity part: beyond the wall's far side, sent on (+), when the
// piece's near edge has passed the wall's near edge; before its near side,
// sent back (-), otherwise.
inline void bounce(float& place, float size, float& velocity, float w, float wsize) {
    if (place > w) {
        assignFloat(place, double(w) + double(wsize));
        assignFloat(velocity, 0.9 * std::fabs(double(velocity)));
    } else {
        assignFloat(place, double(w) - double(size));
        assignFloat(velocity, -0.9 * std::fabs(double(velocity)));
    }
}

}  // namespace walls

// Tests the piece against one wall; true when it bounced.
inline bool bounceOffWall(MovingPiece& p, const Box& w) {
    using namespace walls;
    if (w.height > w.width) {
        // Upright: a corner inside sends the piece sideways; a piece wider
        // than the wall that reaches into its length goes past the nearer
        // end. Both need the piece within the wall's length, so a piece
        // above or below it is passed over at once.
        if (!edgeInside(p.top, p.height, w.top, w.height)) return false;
        if (edgeInside(p.left, p.width, w.left, w.width)) {
            bounce(p.left, p.width, p.vx, w.left, w.width);
            return true;
        }
        if (spans(p.left, p.width, w.left, w.width)) {
            bounce(p.top, p.height, p.vy, w.top, w.height);
            return true;
        }
        return false;
    }
    // Lying (or square): the same with x and y exchanged.
    if (!edgeInside(p.left, p.width, w.left, w.width)) return false;
    if (edgeInside(p.top, p.height, w.top, w.height)) {
        bounce(p.top, p.height, p.vy, w.top, w.height);
        return true;
    }
    if (spans(p.top, p.height, w.top, w.height)) {
        bounce(p.left, p.width, p.vx, w.left, w.width);
        return true;
    }
    return false;
}

// Tests the piece against walls `first` to 10 in order, each from the box
// the previous walls left.
inline void bounceOffWalls(MovingPiece& p, const Board& board, int first = 1) {
    for (int j = first; j <= kWallCount; ++j) bounceOffWall(p, board.walls[j]);
}

// The same through the grid: only the walls listed in `near` (the grid's
// cell of the piece's box) are tested until one bounces the piece; the
// piece has then moved out of what the cell says, so every later wall is
// tested. Always inline: the step is written out with reports and without,
// and the inliner would otherwise call this from the loop of finish().
[[gnu::always_inline]] inline void bounceOffWalls(MovingPiece& p, const Board& board, WallGrid::Mask near) {
    unsigned pending = near & ((1u << (kWallCount + 1)) - 2);
    while (pending != 0) {
        const int j = std::countr_zero(pending);
        pending &= pending - 1;
        if (bounceOffWall(p, board.walls[j])) {
            bounceOffWalls(p, board, j + 1);
            return;
        }
    }
}

}  // namespace capzel::engine
