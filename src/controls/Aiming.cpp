#include "controls/Aiming.h"

#include <cstdio>

#include "model/Numbers.h"
#include "model/Placement.h"

namespace capzel {

namespace {

std::string fmt7(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.7g", double(v));
    return buf;
}

}  // namespace

std::array<int, 8> powerMarks() {
    std::array<int, 8> marks{};
    int m = 1000;
    int increment = 950;
    std::size_t n = 0;
    while (m <= 6585 && n < marks.size()) {
        m += increment;
        increment -= 100;
        if (increment < 0) break;
        marks[n++] = m;
        m += 100;
    }
    return marks;
}

bool levelInGap(int level, int h) {
    static const std::array<int, 8> marks = powerMarks();
    for (int m : marks)
        if (level > h - m - 100 && level < h - m) return true;
    return false;
}

std::string aimLabelText(float x1, float y1, float x2, float y2) {
    const float dx = float(double(x1) - double(x2));
    const float dy = float(double(y1) - double(y2));
    return fmt7(x1) + "," + fmt7(y1) + "\r\n" + fmt7(x2) + "," + fmt7(y2) + "\r\n" + fmt7(dx) + "," + fmt7(dy);
}

Box pendingPiece(const Game& g, const PendingShot& pending) {
    Box piece = g.isPlayer(g.currentTurn) ? g.piece(g.currentTurn) : Box{};
    if (pending.placement) {
        piece.left = pending.placement->left;
        piece.top = pending.placement->top;
    }
    return piece;
}

void handleMouseMove(const Game& g, PendingShot& pending, Label& aimLabel, int buttons, int shift, float x, float y) {
    if (!g.gameRunning || g.shotInProgress || g.numberOfPlayers == 0 || !g.isPlayer(g.currentTurn)) return;
    const Box piece = pendingPiece(g, pending);
    if (buttons == kLeftButton) {
        Line& aim = pending.aim;
        aim.x1 = float(double(piece.width) / 2 + double(piece.left));
        aim.y1 = float(double(piece.height) / 2 + double(piece.top));
        aim.x2 = x;
        aim.y2 = y;
        aim.visible = true;
        aimLabel.caption = aimLabelText(aim.x1, aim.y1, aim.x2, aim.y2);
        return;
    }
    const Seat& seat = g.seat(g.currentTurn);
    if (buttons != 0 || shift != kShiftOnly || !seat.moveableNextTurn) return;
    const int k = seat.position;
    if (k < 1 || k > kSpotCount) return;  // no box to place the piece in
    const Box& s = g.board.spots[std::size_t(k)];
    const double w = piece.width, h = piece.height;
    pending.placement = HandPlacement{holdWithin(float(double(x) - w / 2), s.left, s.width, piece.width),
                                      holdWithin(float(double(y) - h / 2), s.top, s.height, piece.height)};
}

}  // namespace capzel
