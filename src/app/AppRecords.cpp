// The program's commands on whole-game records: the running game's record
// kept beside its autosave, a finished game's record kept in the records
// folder, the end-of-game chart, watching a record and exporting one.
#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <algorithm>

#include "app/App.h"
#include "records/GameRecord.h"
#include "ui/charts/GameChart.h"
#include "desktop/QtPlatform.h"
#include "desktop/RecordStore.h"
#include "ui/watch/RecordWording.h"
#include "ui/watch/WatchWindow.h"
#include "desktop/ComputerPlay.h"
#include "ui/windows/FramePlacement.h"
#include "ui/windows/MainWindow.h"
#include "desktop/StepScheduler.h"

namespace capzel::ui {

namespace {

constexpr const char* kRecordFilter = "Capzel game record (*.json)";
constexpr const char* kRecordPattern = "*.json";

}  // namespace

WatchWindow* CapzelApp::watchWindow() const { return qobject_cast<WatchWindow*>(watch_.get()); }

void CapzelApp::recordFailure(const std::string& failure) {
    MainWindow* main = mainWindow();
    if (failure.empty() || recordFailureTold_ || !main) return;
    recordFailureTold_ = true;
    main->platform().message("The game's record could not be kept. " + failure);
}

// Written after every judged shot with the autosave; an ended game's
// record goes to the records folder instead, so the file beside the
// autosave goes.
std::string CapzelApp::keepRunningRecord(const std::string& autosavePath) {
    MainWindow* main = mainWindow();
    if (!main) return {};
    const std::string path = runningRecordFile(autosavePath);
    if (!game().gameRunning) {
        QFile::remove(QString::fromStdString(path));
        return {};
    }
    return saveGameRecord(main->platform(), path, session_.record());
}

void CapzelApp::keepFinishedRecord(const HistoryGame& game) {
    MainWindow* main = mainWindow();
    if (!main || session_.record().seatCount() == 0) return;
    recordFailure(ui::keepFinishedRecord(main->platform(), recordsFolder(), game, writeGameRecord(session_.record())));
}

// The standings come from playing the record again with no window.
void CapzelApp::showEndChart() {
    if (!settings_.endChart || session_.record().seatCount() == 0) return;
    const WatchedGame replayed(session_.record());
    if (replayed.shotCount() == 0) return;
    // Beside the main window, whole on the screen and clear of the game's
    // other windows as far as there is room; over them otherwise.
    QWidget* chart = openGameChartWindow(replayed.standings(), QStringLiteral("Game Chart"), shownZoom());
    MainWindow* main = mainWindow();
    QPointer<MainWindow> beside(main);
    placeClear(*chart, [beside, chart] {
        return beside ? beside->frameGeometry().topRight() + QPoint(8, 0) : chart->frameGeometry().topLeft();
    });
}

void CapzelApp::watchGameRecord() {
    MainWindow* main = mainWindow();
    if (!main) return;
    const std::string path = main->platform().chooseFile(QtPlatform::FileDialog::Open, QStringLiteral("Watch Game Record"),
                                                         kRecordFilter, kRecordPattern, recordsFolder());
    if (!path.empty()) watchRecordFile(path);
}

void CapzelApp::watchRecordFile(const std::string& path) {
    MainWindow* main = mainWindow();
    if (!main) return;
    std::string error;
    const std::optional<GameRecord> record = loadGameRecord(main->platform(), path, &error);
    if (!record) {
        // A wrong entry is named as the Watch window's list would name it.
        if (const auto text = main->platform().readFile(path, kMaxGameRecordBytes)) error = refusalInListWords(error, *text);
        main->platform().message("The game record \"" + path + "\" cannot be watched: " + error);
        return;
    }
    watch(*record, watchTitle(*record, QFileInfo(QString::fromStdString(path)).fileName()));
}

void CapzelApp::watchFinishedGame(const HistoryGame& game) {
    if (const std::optional<std::string> path = findFinishedRecord(recordsFolder(), game))
        watchRecordFile(*path);
}

// One Watch window at a time: a new record replaces the one watched.
void CapzelApp::watch(const GameRecord& record, const QString& title) {
    if (WatchWindow* open = watchWindow()) {
        open->onClosed = nullptr;
        open->close();
    }
    auto* window = new WatchWindow(std::make_unique<WatchedGame>(record), title);
    watch_.reset(window);
    putGameAside(true);
    window->onClosed = [this] { putGameAside(false); };
    window->show();
    window->raise();
    window->activateWindow();
}

// The game in progress waits untouched: its window is hidden and its runs
// and the computer's turn held, and all of it comes back as it was.
void CapzelApp::putGameAside(bool aside) {
    MainWindow* main = mainWindow();
    if (!main) return;
    if (aside) {
        main->computerPlay().stop();
        main->scheduler().stop();
        main->hide();
        return;
    }
    main->show();
    main->raise();
    main->scheduler().start();
    main->computerPlay().lookSoon();
}

void CapzelApp::exportRecord(const GameRecord& record) {
    MainWindow* main = mainWindow();
    if (!main) return;
    const std::string path = main->platform().chooseFile(QtPlatform::FileDialog::Save, QStringLiteral("Export Game Record"),
                                                         kRecordFilter, kRecordPattern, {});
    if (path.empty()) return;
    const std::string failure = saveGameRecord(main->platform(), path, record);
    if (!failure.empty()) main->platform().message(failure);
}

void CapzelApp::exportGameRecord() {
    MainWindow* main = mainWindow();
    if (!main) return;
    if (session_.record().seatCount() == 0) {
        main->platform().message("No game has been played yet, so there is no record to export.");
        return;
    }
    exportRecord(session_.record());
}

void CapzelApp::exportFinishedGame(const HistoryGame& game) {
    MainWindow* main = mainWindow();
    const std::optional<std::string> path = findFinishedRecord(recordsFolder(), game);
    if (!main || !path) return;
    std::string error;
    if (const std::optional<GameRecord> record = loadGameRecord(main->platform(), *path, &error))
        exportRecord(*record);
    else
        main->platform().message("The game record \"" + *path + "\" cannot be read: " + error);
}

}  // namespace capzel::ui
