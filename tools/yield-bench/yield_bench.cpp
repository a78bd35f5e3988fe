// yield_bench: how long the game's counted yields take and what they cost
// the processor, in a real main window.
//
//   yield_bench            offscreen unless QT_QPA_PLATFORM says otherwise
//
// Prints one line per scenario: yields, wall seconds, microseconds per
// yield, processor use (user + system over wall) and frames painted.
#include <QApplication>
#include <QEvent>
#include <QTextStream>
#include <chrono>
#include <functional>

#include "common/ProcessCpu.h"
#include "ui/App.h"
#include "ui/FieldView.h"
#include "ui/frmMain.h"

namespace {

using capzel::tools::cpuSeconds;

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

struct Result {
    long yields = 0;
    double wall = 0;
    double cpu = 0;
    int paints = 0;
};

Result measure(capzel::ui::frmMain& w, PaintCounter& paints, const std::function<long()>& body) {
    using Clock = std::chrono::steady_clock;
    QCoreApplication::processEvents();
    paints.paints = 0;
    const double c0 = cpuSeconds();
    const auto t0 = Clock::now();
    const long yields = body();
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    Result r{yields, wall, cpuSeconds() - c0, paints.paints};
    (void)w;
    return r;
}

void print(QTextStream& out, const char* name, const Result& r) {
    out << qSetFieldWidth(34) << Qt::left << name << qSetFieldWidth(0) << Qt::right
        << QString::asprintf("%9ld yields %8.3f s %6.2f us/yield  cpu %5.1f %%  %5d frames\n", r.yields, r.wall,
                             r.wall * 1e6 / double(r.yields), 100.0 * r.cpu / r.wall, r.paints);
    out.flush();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    capzel::ui::CapzelApp app;
    capzel::ui::frmMain& w = app.openMainWindow();
    PaintCounter paints;
    w.view()->installEventFilter(&paints);
    capzel::Platform& ui = w.platform();
    capzel::Board& b = w.field().board;
    QTextStream out(stdout);

    // Let the window settle (first paint, activation).
    for (int i = 0; i < 20; ++i) (void)ui.yield(6000);

    print(out, "calibration, one batch of 10000", measure(w, paints, [&] {
              (void)ui.yield(10000);
              return 10000L;
          }));
    print(out, "calibration, 10000 single yields", measure(w, paints, [&] {
              for (int i = 0; i < 10000; ++i) (void)ui.yield(1);
              return 10000L;
          }));
    print(out, "shot: 100 steps of 6000", measure(w, paints, [&] {
              for (int s = 0; s < 100; ++s) {
                  (void)ui.yield(6000);
                  b.Player[1].Left = float(1000 + 80 * s);
              }
              return 600000L;
          }));
    print(out, "power bar: one fill, 660 ticks of 201", measure(w, paints, [&] {
              b.picPower.box.Visible = true;
              b.picPower.clear();
              int level = 6585;
              for (int t = 0; t < 660; ++t) {
                  (void)ui.yield(200);
                  level -= 10;
                  b.picPower.drawRows(level - 10, level, 50, 430);
                  (void)ui.yield(1);
              }
              return 660L * 201L;
          }));
    print(out, "0.1 s wait, single yields", measure(w, paints, [&] {
              long n = 0;
              const double t = ui.clock();
              while (ui.clock() - 0.1 <= t) {
                  (void)ui.yield(1);
                  ++n;
              }
              return n;
          }));
    return 0;
}
