#include "controls/Aiming.h"

#include <cstdio>

#include "engine/Shot.h"
#include "model/Numbers.h"
#include "rules/Placement.h"
#include "rules/Turns.h"

namespace capzel {

namespace {

constexpr Color kBarBlue = rgb(0, 0, 255);
constexpr double kPause = 0.1;  // seconds the bar waits at a full and at a fresh fill

std::string fmt7(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.7g", double(v));
    return buf;
}

// Waits 0.1 s by yielding once at a time. The clock restarts at midnight: a
// clock that went backwards counts as the wait being over.
bool pause(GameContext& ctx) {
    const double t = ctx.ui.clock();
    for (;;) {
        const double now = ctx.ui.clock();
        if (now - kPause > t || now < t) return true;
        if (!ctx.ui.yield(1)) return false;
    }
}

// Yields as many times as StepDelay counts (none below 1).
bool stepDelay(GameContext& ctx) {
    const double d = ctx.field.StepDelay;
    if (!(d >= 1)) return true;
    return ctx.ui.yield(long(d));
}

// Calibrates the bar's pace: a fast machine gets the long delay. A
// measurement in none of the ranges leaves StepDelay as it was.
bool calibrate(GameContext& ctx) {
    const double t0 = ctx.ui.clock();
    if (!ctx.ui.yield(10000)) return false;
    const double e = roundHalfEven((ctx.ui.clock() - t0) * 100.0) / 100.0;
    if (e < 0.05)
        ctx.field.StepDelay = 200;
    else if (e > 0.1 && e < 0.2)
        ctx.field.StepDelay = 40;
    else if (e > 0.2)
        ctx.field.StepDelay = 1;
    return true;
}

void drawTick(GameContext& ctx, int h) {
    PowerBar& bar = ctx.board().picPower;
    const int level = ctx.g.Power;
    if (levelInGap(level, h)) return;
    bar.drawRows(level - 10, level, 50, int(bar.ScaleWidth()) - 50);
}

// Plays the charged shot and hands it to the rules.
void fire(GameContext& ctx) {
    modCapzel& g = ctx.g;
    Board& b = ctx.board();
    g.Power = std::int16_t(roundHalfEven(double(b.ScaleHeight) - double(g.Power)));
    if (!b.Pointer.Visible) return;  // no aim since the last shot: the bar stays as drawn
    b.Pointer.Visible = false;
    g.ShotInProgress = true;
    const ShotResult shot = Shoot_Piece(ctx);
    if (shot.abandoned) {  // the window is gone: nothing more to do on it
        g.ShotInProgress = false;
        return;
    }
    b.picPower.clear();
    b.picPower.box.Visible = false;
    g.Power = 0;
    judgeFinishedShot(ctx);
    g.ShotInProgress = false;
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

namespace {
// Runs the charge loop; false when the window went away during it.
bool charge(GameContext& ctx, int h);
}  // namespace

void Form_MouseUp(GameContext& ctx, int /*B*/, int /*S*/, float /*X*/, float /*Y*/) {
    modCapzel& g = ctx.g;
    // A release while the bar is already charging is ignored: the running
    // charge goes on, so one press of "Go" plays at most one shot.
    if (!g.GameRunning || g.ShotInProgress || g.Charging) return;
    Board& b = ctx.board();
    PowerBar& bar = b.picPower;
    const int h = int(roundHalfEven(bar.ScaleHeight()));

    g.Charging = true;
    g.Power = std::int16_t(h);
    bar.clear();
    bar.box.Visible = true;
    b.cmdGo.box.Visible = true;
    if (!charge(ctx, h)) {
        g.Charging = false;  // the window went away during the charge
        return;
    }
    fire(ctx);
}

namespace {
bool charge(GameContext& ctx, int h) {
    modCapzel& g = ctx.g;
    PowerBar& bar = ctx.board().picPower;
    if (!calibrate(ctx)) return false;
    while (g.Charging) {
        if (!stepDelay(ctx)) return false;
        g.Power = std::int16_t(g.Power - 10);
        drawTick(ctx, h);
        if (g.Power + 10 < 0) {
            if (!pause(ctx)) return false;
            if (!g.Charging) break;
            bar.clear();
            g.Power = std::int16_t(h);
        } else if (g.Power == h - 10) {
            if (!pause(ctx)) return false;
            if (!g.Charging) break;
        }
        if (!ctx.ui.yield(1)) return false;
    }
    return true;
}
}  // namespace

void cmdGo_Click(GameContext& ctx) {
    if (ctx.g.Charging) ctx.g.Charging = false;
    ctx.board().cmdGo.box.Visible = false;
}

}  // namespace capzel
