#include "controls/Aiming.h"

#include <cstdio>

#include "model/Numbers.h"

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

void handleMouseMove(GameContext& ctx, Label& aimLabel, int buttons, int shift, float x, float y) {
    GameState& g = ctx.g;
    if (!g.gameRunning || g.shotInProgress || g.numberOfPlayers == 0 || !g.isPlayer(g.currentTurn)) return;
    Board& b = ctx.board();
    Box& piece = b.pieces[g.currentTurn];
    if (buttons == kLeftButton) {
        b.pointer.x1 = float(double(piece.width) / 2 + double(piece.left));
        b.pointer.y1 = float(double(piece.height) / 2 + double(piece.top));
        b.pointer.x2 = x;
        b.pointer.y2 = y;
        b.pointer.visible = true;
        aimLabel.caption = aimLabelText(b.pointer.x1, b.pointer.y1, b.pointer.x2, b.pointer.y2);
        return;
    }
    if (buttons != 0 || shift != kShiftOnly || !g.moveableNextTurn[g.currentTurn]) return;
    const int k = g.position[g.currentTurn];
    if (k < 1 || k > kSpotCount) return;  // no box to place the piece in
    const Box& s = b.spots[k];
    const double w = piece.width, h = piece.height;
    if (fsum(s.left, s.width) < float(double(x) + w / 2))
        piece.left = float(double(s.left) + double(s.width) - w);
    else if (float(double(x) - w / 2) < s.left)
        piece.left = s.left;
    else
        piece.left = float(double(x) - w / 2);
    if (fsum(s.top, s.height) < float(double(y) + h / 2))
        piece.top = float(double(s.top) + double(s.height) - h);
    else if (float(double(y) - h / 2) < s.top)
        piece.top = s.top;
    else
        piece.top = float(double(y) - h / 2);
}

}  // namespace capzel
