// ui_bench: what the shot's animation, the power bar and an idle status
// window cost, in a real main window with the platform's paced yields.
//
//   ui_bench [runs]      offscreen unless QT_QPA_PLATFORM says otherwise
//
// Prints one "name value" line per figure:
//   shot.*   a full-strength straight shot on an empty field: wall seconds,
//            processor use (user + system over wall), engine steps, frames
//            painted, steps seen (distinct places after a step painted),
//            places painted more than once
//   bar.*    one fill of the power bar from empty to its restart: seconds
//            and processor use while charging
//   idle.*   the status window open, nothing moving: processor use
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QTextStream>
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "controls/Aiming.h"
#include "engine/Shot.h"
#include "records/NewGame.h"
#include "rules/Placement.h"
#include "common/ProcessCpu.h"
#include "ui/App.h"
#include "ui/FieldView.h"
#include "ui/frmMain.h"

namespace {

using capzel::tools::cpuSeconds;

// Records where piece 1 stood at every paint of the field.
class PaintLog : public QObject {
public:
    explicit PaintLog(const capzel::Box& piece) : piece_(piece) {}
    std::vector<std::pair<float, float>> places;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) places.emplace_back(piece_.Left, piece_.Top);
        return false;
    }

private:
    const capzel::Box& piece_;
};

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}

void report(const char* name, double value) { out() << name << ' ' << value << Qt::endl; }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// One player, no walls, the piece at the bottom middle of the field.
void setUpEmptyField(capzel::ui::frmMain& w) {
    capzel::GameContext ctx = w.context();
    capzel::NewGameSettings s;
    s.players = 1;
    s.walls = false;
    capzel::applyNewGame(ctx, s);
    ctx.g.Position[1] = 1;
    capzel::Box& p = ctx.board().Player[1];
    p.Left = 5400;
    p.Top = 8700;
    w.refreshField();
}

struct ShotFigures {
    double wall = 0, cpu = 0;
    long steps = 0;
    std::size_t frames = 0, distinct = 0, twice = 0;
};

// A full-strength straight shot upwards, played by the engine in the window.
ShotFigures fullStrengthShot(capzel::ui::frmMain& w) {
    setUpEmptyField(w);
    capzel::GameContext ctx = w.context();
    capzel::Board& b = ctx.board();
    capzel::Box& p = b.Player[1];
    b.Pointer.X1 = p.Left + p.Width / 2;
    b.Pointer.Y1 = p.Top + p.Height / 2;
    b.Pointer.X2 = b.Pointer.X1;
    b.Pointer.Y2 = b.Pointer.Y1 + 300;
    ctx.g.Power = 9405;  // "Go" at the top of a full bar
    ctx.g.ShotInProgress = true;
    QCoreApplication::processEvents();

    const std::pair<float, float> start(p.Left, p.Top);
    PaintLog log(p);
    w.view()->installEventFilter(&log);
    const double c0 = cpuSeconds();
    QElapsedTimer t;
    t.start();
    const capzel::ShotResult r = capzel::Shoot_Piece(ctx);
    ShotFigures f;
    f.wall = double(t.nsecsElapsed()) / 1e9;
    f.cpu = (cpuSeconds() - c0) / f.wall;
    // The release handler repaints when the shot returns: the last step.
    w.refreshField();
    for (int k = 0; k < 5; ++k) QCoreApplication::processEvents();
    w.view()->removeEventFilter(&log);
    ctx.g.ShotInProgress = false;

    f.steps = r.steps;
    f.frames = log.places.size();
    // The start place was painted before the launch; every other place
    // painted is the place after one step.
    std::map<std::pair<float, float>, int> seen;
    for (const auto& place : log.places)
        if (place != start) ++seen[place];
    f.distinct = seen.size();
    for (const auto& [place, n] : seen) f.twice += std::size_t(n - 1);
    return f;
}

struct BarFigures {
    std::vector<double> fills;
    double cpu = 0;
};

// Releases without an aim and lets the bar fill `fills` times, then "Go".
BarFigures barFills(capzel::ui::frmMain& w, int fills) {
    setUpEmptyField(w);
    capzel::modCapzel& g = w.state();
    w.field().board.Pointer.Visible = false;
    BarFigures f;
    QElapsedTimer t;
    double fillStart = -1, cpuStart = 0, cpuSpent = 0, timeSpent = 0;
    int last = 1 << 30;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!g.Charging) return;
        const double now = double(t.nsecsElapsed()) / 1e9;
        if (fillStart < 0 && g.Power < 6585) {  // the first fill has begun
            fillStart = now;
            cpuStart = cpuSeconds();
        } else if (fillStart >= 0 && g.Power > last) {  // restarted from empty
            f.fills.push_back(now - fillStart);
            timeSpent += now - fillStart;
            cpuSpent += cpuSeconds() - cpuStart;
            fillStart = now;
            cpuStart = cpuSeconds();
            if (int(f.fills.size()) == fills) {
                capzel::GameContext ctx = w.context();
                capzel::cmdGo_Click(ctx);
            }
        }
        last = g.Power;
    });
    poll.start();
    t.start();
    capzel::GameContext ctx = w.context();
    capzel::Form_MouseUp(ctx, 1, 0, 0, 0);
    poll.stop();
    f.cpu = timeSpent > 0 ? cpuSpent / timeSpent : 0;
    return f;
}

// The status window open on a running game, nothing moving.
double idleStatus(capzel::ui::CapzelApp& app, double seconds) {
    app.showStatus();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double c0 = cpuSeconds();
    QElapsedTimer t;
    t.start();
    QTimer stop;
    stop.setSingleShot(true);
    QEventLoop loop;
    QObject::connect(&stop, &QTimer::timeout, &loop, &QEventLoop::quit);
    stop.start(int(seconds * 1000));
    loop.exec();
    return (cpuSeconds() - c0) / (double(t.nsecsElapsed()) / 1e9);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    capzel::ui::CapzelApp app;
    capzel::ui::frmMain& w = app.openMainWindow();
    for (int k = 0; k < 20; ++k) QCoreApplication::processEvents();

    std::vector<double> wall, cpu, steps, frames, distinct, twice;
    for (int k = 0; k < runs; ++k) {
        const ShotFigures f = fullStrengthShot(w);
        wall.push_back(f.wall);
        cpu.push_back(f.cpu);
        steps.push_back(double(f.steps));
        frames.push_back(double(f.frames));
        distinct.push_back(double(f.distinct));
        twice.push_back(double(f.twice));
    }
    report("shot.wall_s", median(wall));
    report("shot.cpu_share", median(cpu));
    report("shot.steps", median(steps));
    report("shot.frames", median(frames));
    report("shot.steps_seen", median(distinct));
    report("shot.places_painted_twice", median(twice));

    const BarFigures bar = barFills(w, runs);
    report("bar.fill_s", median(bar.fills));
    report("bar.cpu_share", bar.cpu);

    report("idle.status_cpu_share", idleStatus(app, 5.0));
    return 0;
}
