#include "HistoryBench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QAbstractButton>
#include <QPushButton>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <string>
#include <vector>

#include "records/NewGame.h"
#include "app/App.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/GameHistoryWindow.h"
#include "desktop/ProgramFolder.h"

namespace capzel::tools {

namespace {

// Resident memory of this process in MB (VmRSS of /proc/self/status).
double residentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// A history of `games` two- and three-player games among twenty names
// (about 14 MB for 200,000 games).
bool writeHistory(const QString& path, int games) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    std::string text =
        "\"Capzel game history: date, players, winner, shots, then name, seat and score of each player\"\r\n";
    for (int k = 0; k < games; ++k) {
        const int players = 2 + k % 2;
        text += "\"2026-" + std::to_string(1 + k % 12) + "-10 17:42\"," + std::to_string(players) + ',' +
                std::to_string(k % (players + 1)) + ',' + std::to_string(20 + k % 50);
        for (int p = 0; p < players; ++p)
            text += ",\"P" + std::to_string((k + p * 7) % 20) + "\",\"" + (p == 1 ? "Expert" : "Human") +
                    "\"," + std::to_string(100 + (k * 37 + p) % 900);
        text += "\r\n";
    }
    return file.write(text.data(), qint64(text.size())) == qint64(text.size());
}

void settle() {
    for (int k = 0; k < 10; ++k) QCoreApplication::processEvents();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

void historyFigures(ui::CapzelApp& app, int games, int runs,
                    const std::function<void(const char*, double)>& report) {
    const QString path = QString::fromStdString(ui::historyFile());
    if (!writeHistory(path, games)) return;
    // A message (a history set aside) would stop the bench: it is answered
    // and counted.
    int messages = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++messages;
            qWarning("history bench: message: %s", qPrintable(box->text()));
            box->button(QMessageBox::Ok)->click();
        }
    });
    answer.start(5);
    // The games that end are two-player games.
    if (app.mainWindow()) {
        NewGameSettings settings;
        settings.players = 2;
        app.session().beginNewGame(settings);
    }
    report("history.games", games);
    report("history.file_mb", double(QFile(path).size()) / 1e6);
    settle();
    const double before = residentMb();
    QElapsedTimer t;
    t.start();
    app.showHistory();
    settle();
    report("history.open_s", double(t.nsecsElapsed()) / 1e9);
    // The wins, counted on a thread of the window's own.
    while (app.historyWindow() && app.historyWindow()->counting())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    report("history.wins_s", double(t.nsecsElapsed()) / 1e9);
    const double after = residentMb();
    report("history.open_rss_mb", after);
    report("history.rss_growth_mb", after - before);

    // Charts...: the window at once, its charts once the whole history is read.
    if (ui::GameHistoryWindow* w = app.historyWindow()) {
        t.restart();
        w->chartsButton()->click();
        settle();
        report("history.charts_open_ms", double(t.nsecsElapsed()) / 1e6);
        QWidget* charts = w->findChild<QWidget*>(QStringLiteral("historyCharts"));
        while (charts && !charts->findChild<QWidget*>(QStringLiteral("winsChart")))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        report("history.charts_s", double(t.nsecsElapsed()) / 1e9);
        if (charts) charts->close();
        settle();
    }

    std::vector<double> open, closed;
    for (int k = 0; k < runs; ++k) {
        t.restart();
        app.recordFinishedGame();
        open.push_back(double(t.nsecsElapsed()) / 1e6);
        settle();
    }
    report("history.end_open_ms", median(open));
    if (ui::GameHistoryWindow* w = app.historyWindow()) w->close();
    settle();
    for (int k = 0; k < runs; ++k) {
        t.restart();
        app.recordFinishedGame();
        closed.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    report("history.end_closed_ms", median(closed));
    report("history.messages", messages);
}

}  // namespace capzel::tools
