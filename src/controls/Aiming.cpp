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

std::array<int, 8> PowerMarks() {
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
    static const std::array<int, 8> marks = PowerMarks();
    for (int m : marks)
        if (level > h - m - 100 && level < h - m) return true;
    return false;
}

std::string aimLabelText(float x1, float y1, float x2, float y2) {
    const float dx = float(double(x1) - double(x2));
    const float dy = float(double(y1) - double(y2));
    return fmt7(x1) + "," + fmt7(y1) + "\r\n" + fmt7(x2) + "," + fmt7(y2) + "\r\n" + fmt7(dx) + "," + fmt7(dy);
}

void Form_MouseMove(GameContext& ctx, int B, int S, float X, float Y) {
    modCapzel& g = ctx.g;
    if (!g.GameRunning || g.ShotInProgress || g.NumberOfPlayers == 0 || !g.isPlayer(g.CurrentTurn)) return;
    Board& b = ctx.board();
    Box& piece = b.Player[g.CurrentTurn];
    if (B == kLeftButton) {
        b.Pointer.X1 = float(double(piece.Width) / 2 + double(piece.Left));
        b.Pointer.Y1 = float(double(piece.Height) / 2 + double(piece.Top));
        b.Pointer.X2 = X;
        b.Pointer.Y2 = Y;
        b.Pointer.Visible = true;
        b.Label1.Caption = aimLabelText(b.Pointer.X1, b.Pointer.Y1, b.Pointer.X2, b.Pointer.Y2);
        return;
    }
    if (B != 0 || S != kShiftOnly || !g.MoveableNextTurn[g.CurrentTurn]) return;
    const int k = g.Position[g.CurrentTurn];
    if (k < 1 || k > kSpotCount) return;  // no box to place the piece in
    const Box& s = b.Spot[k];
    const double w = piece.Width, h = piece.Height;
    if (fsum(s.Left, s.Width) < float(double(X) + w / 2))
        piece.Left = float(double(s.Left) + double(s.Width) - w);
    else if (float(double(X) - w / 2) < s.Left)
        piece.Left = s.Left;
    else
        piece.Left = float(double(X) - w / 2);
    if (fsum(s.Top, s.Height) < float(double(Y) + h / 2))
        piece.Top = float(double(s.Top) + double(s.Height) - h);
    else if (float(double(Y) - h / 2) < s.Top)
        piece.Top = s.Top;
    else
        piece.Top = float(double(Y) - h / 2);
}

}  // namespace capzel
