#include "engine/WallPass.h"

#include <cmath>

#include "engine/Assign.h"
#include "model/Numbers.h"

namespace capzel::engine {

namespace {

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

}  // namespace

void wallPass(GameContext& ctx, int i) {
    Board& board = ctx.board();
    Box& p = board.pieces[i];
    float& vx = ctx.field.velocityX[i];
    float& vy = ctx.field.velocityY[i];
    for (int j = 1; j <= kWallCount; ++j) {
        if (!ctx.g.wallsOn) return;
        const Box& w = board.walls[j];
        if (w.height > w.width) {
            // Upright: a corner inside sends the piece sideways; a piece
            // wider than the wall that reaches into its length goes past
            // the nearer end. Both need the piece within the wall's length,
            // so a piece above or below it is passed over at once.
            if (!edgeInside(p.top, p.height, w.top, w.height)) continue;
            if (edgeInside(p.left, p.width, w.left, w.width)) {
                bounce(p.left, p.width, vx, w.left, w.width);
            } else if (spans(p.left, p.width, w.left, w.width)) {
                bounce(p.top, p.height, vy, w.top, w.height);
            }
        } else {
            // Lying (or square): the same with x and y exchanged.
            if (!edgeInside(p.left, p.width, w.left, w.width)) continue;
            if (edgeInside(p.top, p.height, w.top, w.height)) {
                bounce(p.top, p.height, vy, w.top, w.height);
            } else if (spans(p.top, p.height, w.top, w.height)) {
                bounce(p.left, p.width, vx, w.left, w.width);
            }
        }
    }
}

}  // namespace capzel::engine
