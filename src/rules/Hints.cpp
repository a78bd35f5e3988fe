#include "rules/Hints.h"

#include "rules/TurnPassing.h"

namespace capzel {

namespace {

int distance2(Color a, Color b) {
    const int r = redOf(a) - redOf(b), g = greenOf(a) - greenOf(b), bl = blueOf(a) - blueOf(b);
    return r * r + g * g + bl * bl;
}

// Of a few colours bright on the black field, the one farthest from the
// piece's own colour.
Color markColour(Color piece) {
    constexpr Color kChoices[] = {rgb(255, 255, 0), rgb(0, 255, 255), rgb(255, 0, 255), rgb(255, 255, 255)};
    Color best = kChoices[0];
    for (Color c : kChoices)
        if (distance2(c, piece) > distance2(best, piece)) best = c;
    return best;
}

}  // namespace

FieldHints fieldHints(const Game& g, const Board& board, bool charging) {
    FieldHints h;
    const int cur = g.currentTurn;
    if (!g.gameRunning || g.shotInProgress || charging || cur < 1 || cur > rules::lastPlayer(g) ||
        g.seats[std::size_t(cur)].dead)
        return h;
    h.piece = cur;
    h.colour = markColour(board.pieces[std::size_t(cur)].fillColor);
    if (g.seats[std::size_t(cur)].isKiller) {
        // The contact pass kills every piece in the game it touches.
        for (int j = 1; j <= rules::lastPlayer(g); ++j)
            h.prey[std::size_t(j)] = j != cur && g.seats[std::size_t(j)].inGame && !g.seats[std::size_t(j)].dead;
        return h;
    }
    // The region the rules test after the shot; a position outside the
    // course has none.
    const int next = g.seats[std::size_t(cur)].position + 1;
    if (next >= 1 && next <= kSpotCount) h.target = board.spots[std::size_t(next)];
    return h;
}

}  // namespace capzel
