// ui_bench: what the shot's animation, the power bar and an idle status
// window cost, in a real main window driven by its own clock.
//
//   ui_bench [runs]          offscreen unless QT_QPA_PLATFORM says otherwise
//   ui_bench [runs] history  only the Game History figures
//
// Prints one "name value" line per figure:
//   shot.*   a full-strength straight shot on an empty field: wall seconds,
//            processor use (user + system over wall), engine steps, frames
//            painted, steps seen (distinct places after a step painted),
//            places painted more than once
//   shot_fast.*  the same shot fast-forwarded: wall seconds, frames painted,
//            and 1 when it ended at the same place as at normal pace
//   autosave.ms  keeping the running game on disk after a judged shot
//   bar.*    one fill of the power bar from empty to its restart, the status
//            window open as in a game: seconds, processor use while charging
//            (of the game, and of the game with the X server when its
//            process is known), paints of the field a second and the share
//            of the field they cover
//   idle.*   the status window open, nothing moving: processor use and
//            wake-ups a second (context switches of the main thread and
//            of the whole process)
//   history.*  the Game History window on 200,000 games (HistoryBench.h)
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QTextStream>
#include <algorithm>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include <QMessageBox>
#include <QAbstractButton>
#include <QFile>
#include <QTemporaryDir>
#include <QPaintEvent>
#include <QThread>
#include <unistd.h>

#include "controls/TurnController.h"
#include "rules/ShotInPlay.h"
#include "session/GameSession.h"
#include "platform/SilentPlatform.h"
#include "records/NewGame.h"
#include "model/Placement.h"
#include "common/ProcessCpu.h"
#include "HistoryBench.h"
#include "app/App.h"
#include "ui/windows/FieldView.h"
#include "ui/windows/MainMenus.h"
#include <QAction>
#include "desktop/StepScheduler.h"
#include "ui/windows/MainWindow.h"

namespace {

using capzel::tools::cpuSeconds;

// Records where piece 1 stood at every paint of the field.
class PaintLog : public QObject {
public:
    explicit PaintLog(const capzel::Box& piece) : piece_(piece) {}
    std::vector<std::pair<float, float>> places;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) places.emplace_back(piece_.left, piece_.top);
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
void setUpEmptyField(capzel::ui::MainWindow& w) {
    capzel::GameSetup setup;
    capzel::SeatSetup seat;
    seat.name = "Player 1";
    seat.friction = 98;
    seat.position = 1;
    seat.inGame = true;
    seat.piece = capzel::PiecePlace{5400, 8700};
    setup.seats.push_back(seat);
    setup.walls = false;
    w.session().beginGame(setup);
    w.refreshField();
}

struct ShotFigures {
    double wall = 0, cpu = 0;
    long steps = 0;
    std::size_t frames = 0, distinct = 0, twice = 0;
    std::pair<float, float> end;
};

// Answers the rules' message boxes with OK, noting when the first one came.
class BoxAnswerer : public QObject {
public:
    QElapsedTimer* clock = nullptr;
    double firstBoxAt = -1;
    BoxAnswerer() {
        timer_.setInterval(2);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            if (firstBoxAt < 0 && clock) firstBoxAt = double(clock->nsecsElapsed()) / 1e9;
            if (QAbstractButton* ok = box->button(QMessageBox::Ok)) ok->click();
        });
        timer_.start();
    }

private:
    QTimer timer_;
};

// Runs the event loop until `done` holds (looked at every millisecond).
void runUntil(const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    look.start(1);
    loop.exec();
}

// A full-strength straight shot upwards, played by the window's clock.
ShotFigures fullStrengthShot(capzel::ui::MainWindow& w) {
    setUpEmptyField(w);
    const capzel::Box& p = w.session().game().piece(1);
    capzel::ShotCommand shot;
    shot.seat = 1;
    shot.x1 = p.left + p.width / 2;
    shot.y1 = p.top + p.height / 2;
    shot.x2 = shot.x1;
    shot.y2 = shot.y1 + 300;
    shot.strength = 9405;  // "Go" at the top of a full bar
    QCoreApplication::processEvents();

    // The same shot with nobody watching: how many steps it takes.
    long steps = 0;
    {
        capzel::Game g = w.session().game();
        capzel::ShotInPlay headless(g, shot);
        while (!headless.resting()) headless.advance();
        steps = headless.result().steps;
    }
    const std::pair<float, float> start(p.left, p.top);
    PaintLog log(p);
    w.view()->installEventFilter(&log);
    BoxAnswerer boxes;
    const double c0 = cpuSeconds();
    QElapsedTimer t;
    t.start();
    boxes.clock = &t;
    w.turn().fire(shot);
    w.scheduler().start();
    // The shot's end is the first message of the rules.
    runUntil([&] { return boxes.firstBoxAt >= 0; });
    ShotFigures f;
    f.wall = boxes.firstBoxAt;
    f.cpu = (cpuSeconds() - c0) / (double(t.nsecsElapsed()) / 1e9);
    runUntil([&] { return !w.turn().running() && QApplication::activeModalWidget() == nullptr; });
    for (int k = 0; k < 5; ++k) QCoreApplication::processEvents();
    w.view()->removeEventFilter(&log);
    f.end = {p.left, p.top};

    f.steps = steps;
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
    double cpu = 0, cpuWithServer = -1, paintsPerSecond = 0, paintedShare = 0;
};

// Counts the paints of a widget and the pixels they cover.
class PaintCounter : public QObject {
public:
    long paints = 0;
    double pixels = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++paints;
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region()) pixels += double(r.width()) * r.height();
        }
        return false;
    }
};

// Processor seconds of another process (the X server), -1 when unknown.
double processCpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly)) return -1;
    const QByteArray line = stat.readAll();
    // The fields after the command's closing parenthesis; utime and stime
    // are the 14th and 15th of the line.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) return -1;
    const double ticks = double(sysconf(_SC_CLK_TCK));
    return (fields[11].toDouble() + fields[12].toDouble()) / ticks;
}

// Releases without an aim and lets the bar fill `fills` times, then "Go".
BarFigures barFills(capzel::ui::MainWindow& w, int fills) {
    setUpEmptyField(w);
    const capzel::BoardControls& controls = w.turn().controls();
    BarFigures f;
    QElapsedTimer t;
    double fillStart = -1, cpuStart = 0, cpuSpent = 0, timeSpent = 0;
    int last = 1 << 30;
    const qint64 server = qEnvironmentVariableIntValue("CAPZEL_BENCH_SERVER_PID");
    double serverStart = 0, serverSpent = 0;
    PaintCounter counter;
    long paintsStart = 0;
    w.view()->installEventFilter(&counter);
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!w.turn().charging()) return;
        const double now = double(t.nsecsElapsed()) / 1e9;
        if (fillStart < 0 && controls.barLevel < 6585) {  // the first fill has begun
            fillStart = now;
            cpuStart = cpuSeconds();
            serverStart = processCpuSeconds(server);
            paintsStart = counter.paints;
            counter.pixels = 0;
        } else if (fillStart >= 0 && controls.barLevel > last) {  // restarted from empty
            f.fills.push_back(now - fillStart);
            timeSpent += now - fillStart;
            cpuSpent += cpuSeconds() - cpuStart;
            serverSpent += processCpuSeconds(server) - serverStart;
            fillStart = now;
            cpuStart = cpuSeconds();
            serverStart = processCpuSeconds(server);
            if (int(f.fills.size()) == fills) {
                const long paints = counter.paints - paintsStart;
                f.paintsPerSecond = double(paints) / timeSpent;
                const QSize size = w.view()->size();
                f.paintedShare = paints > 0 ? counter.pixels / paints / (double(size.width()) * size.height()) : 0;
                w.turn().goClicked();
            }
        }
        last = controls.barLevel;
    });
    poll.start();
    t.start();
    w.turn().mouseUp();
    w.scheduler().start();
    runUntil([&] { return !w.turn().running(); });
    poll.stop();
    w.view()->removeEventFilter(&counter);
    f.cpu = timeSpent > 0 ? cpuSpent / timeSpent : 0;
    if (server > 0 && timeSpent > 0) f.cpuWithServer = (cpuSpent + serverSpent) / timeSpent;
    return f;
}

// Context switches so far: of the main thread, and of every thread.
std::pair<long, long> contextSwitches() {
    auto count = [](const QString& path) {
        QFile file(path);
        long n = 0;
        if (!file.open(QIODevice::ReadOnly)) return n;
        for (const QByteArray& line : file.readAll().split('\n'))
            if (line.contains("ctxt_switches")) n += line.mid(line.indexOf(':') + 1).trimmed().toLong();
        return n;
    };
    long all = 0;
    const QString tasks = QStringLiteral("/proc/self/task/");
    for (const QString& tid : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        all += count(tasks + tid + QStringLiteral("/status"));
    return {count(QStringLiteral("/proc/thread-self/status")), all};
}

struct IdleFigures {
    double cpu = 0, mainWakeups = 0, allWakeups = 0;
};

// The status window open on a running game, nothing moving.
IdleFigures idleStatus(capzel::ui::CapzelApp& app, double seconds) {
    app.showStatus();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double c0 = cpuSeconds();
    const auto [main0, all0] = contextSwitches();
    QElapsedTimer t;
    t.start();
    QTimer stop;
    stop.setSingleShot(true);
    QEventLoop loop;
    QObject::connect(&stop, &QTimer::timeout, &loop, &QEventLoop::quit);
    stop.start(int(seconds * 1000));
    loop.exec();
    const double wall = double(t.nsecsElapsed()) / 1e9;
    const auto [main1, all1] = contextSwitches();
    IdleFigures f;
    f.cpu = (cpuSeconds() - c0) / wall;
    f.mainWakeups = double(main1 - main0) / wall;
    f.allWakeups = double(all1 - all0) / wall;
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The game kept on disk goes to a folder of its own, not the user's.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QApplication qapp(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    capzel::ui::CapzelApp app;
    capzel::ui::MainWindow& w = app.openMainWindow();
    for (int k = 0; k < 20; ++k) QCoreApplication::processEvents();
    if (argc > 2 && QByteArray(argv[2]) == "history") {
        capzel::tools::historyFigures(app, 200000, runs, report);
        return 0;
    }

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

    std::vector<double> fastWall, fastFrames;
    double sameEnd = 1;
    for (int k = 0; k < runs; ++k) {
        const std::pair<float, float> normalEnd = fullStrengthShot(w).end;
        w.menus().fastForwardAction->setChecked(true);
        w.syncShotState();
        const ShotFigures f = fullStrengthShot(w);
        fastWall.push_back(f.wall);
        fastFrames.push_back(double(f.frames));
        if (f.end != normalEnd) sameEnd = 0;
        w.menus().fastForwardAction->setChecked(false);
        w.syncShotState();
    }
    report("shot_fast.wall_s", median(fastWall));
    report("shot_fast.frames", median(fastFrames));
    report("shot_fast.same_end", sameEnd);

    QElapsedTimer saving;
    saving.start();
    constexpr int kSaves = 20;
    setUpEmptyField(w);
    for (int k = 0; k < kSaves; ++k) app.session().keep();
    report("autosave.ms", double(saving.nsecsElapsed()) / 1e6 / kSaves);

    // In a game the status window is open while the bar charges.
    app.showStatus();
    const BarFigures bar = barFills(w, runs);
    report("bar.fill_s", median(bar.fills));
    report("bar.cpu_share", bar.cpu);
    report("bar.cpu_share_with_server", bar.cpuWithServer);
    report("bar.paints_per_s", bar.paintsPerSecond);
    report("bar.painted_share", bar.paintedShare);

    const IdleFigures idle = idleStatus(app, 10.0);
    report("idle.status_cpu_share", idle.cpu);
    report("idle.main_wakeups_per_s", idle.mainWakeups);
    report("idle.all_wakeups_per_s", idle.allWakeups);
    capzel::tools::historyFigures(app, 200000, runs, report);
    return 0;
}
