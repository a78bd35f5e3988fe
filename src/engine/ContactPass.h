// The contact pass: a piece that has just stepped touches the other pieces.
#pragma once

#include <cstdint>

#include <cmath>

#include "model/GameContext.h"

namespace capzel::engine {

// Two pieces found overlapping: their centres (the y part uses the half
// width as well), the sum of their radii and the centres' differences.
struct Overlap {
    double xi, yi, xj, yj;
    double R, ddx, ddy, D2;
};

// What a contact of pieces i and j does: both pieces are pushed apart
// through their velocities, each by half the overlap along the line of their
// centres (places do not change); then a pair not yet in the shot's log is
// reported with the pieces moving and how fast the pair closed, scores 10 for the shooter, may be killed
// by a shooting killer and is logged.
void touch(GameContext& ctx, int i, int j, const Overlap& o);

// For every other piece j in the game that overlaps piece i (centres closer
// than the sum of the radii): touch(i, j); true when any did. With
// `skipDistant`, a pair at least the sum of the radii apart along x, or
// along y, is passed over as soon as that is known: its squared distance
// could not be below the squared sum, so the test it skips would fail.
// The pieces in the game, as bit i for piece i: the steps read them from
// here, packed, since nothing in a run of steps brings a piece in or out.
inline std::uint32_t inGameMask(const Game& g) {
    std::uint32_t mask = 0;
    for (int i = 1; i <= kMaxPlayers; ++i)
        if (g.seats[i].inGame) mask |= 1u << i;
    return mask;
}

inline bool contactPass(GameContext& ctx, int i, bool skipDistant, std::uint32_t inGame) {
    const Game& g = ctx.game;
    const std::array<Box, kMaxPlayers + 1>& pieces = g.board.pieces;
    const int n = g.numberOfPlayers < kMaxPlayers ? g.numberOfPlayers : kMaxPlayers;
    if (n < 2) return false;  // a piece alone has nobody to touch
    // A contact changes velocities only, so piece i stays where it is for
    // the whole pass.
    const double ri = double(pieces[i].width) / 2;
    const double xi = double(pieces[i].left) + ri;
    const double yi = double(pieces[i].top) + ri;
    bool touched = false;
    for (int j = 1; j <= n; ++j) {
        if (j == i || !(inGame >> j & 1u)) continue;
        const Box& b = pieces[j];
        const double rj = double(b.width) / 2;
        const double R = ri + rj;
        const double ddx = xi - (double(b.left) + rj);
        if (skipDistant && !(std::fabs(ddx) < std::fabs(R))) continue;
        const double ddy = yi - (double(b.top) + rj);
        if (skipDistant && !(std::fabs(ddy) < std::fabs(R))) continue;
        const double D2 = ddx * ddx + ddy * ddy;
        if (D2 < R * R) {
            touch(ctx, i, j, {xi, yi, double(b.left) + rj, double(b.top) + rj, R, ddx, ddy, D2});
            touched = true;
        }
    }
    return touched;
}

}  // namespace capzel::engine
