// The game history: a finished game is added to the history file at the
// end of the game, and the Game History command shows the file.
#include <QDateTime>

#include "ui/App.h"
#include "ui/GameHistoryWindow.h"
#include "ui/HistoryFile.h"
#include "ui/ProgramFolder.h"
#include "ui/QtPlatform.h"
#include "ui/MainWindow.h"

namespace capzel::ui {

GameHistoryWindow* CapzelApp::historyWindow() const { return qobject_cast<GameHistoryWindow*>(history_.get()); }

void CapzelApp::gameEnded() {
    recordFinishedGame();
    showHighScores();
}

void CapzelApp::recordFinishedGame() {
    MainWindow* main = mainWindow();
    if (!main) return;
    const QString date = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    const std::string notice =
        addToHistoryFile(main->platform(), historyFile(), finishedGame(g_, date.toStdString()));
    if (!notice.empty()) main->platform().message(notice);
    if (GameHistoryWindow* open = historyWindow()) open->showGames(loadHistoryFile(main->platform(), historyFile()).games);
}

void CapzelApp::showHistory() {
    MainWindow* main = mainWindow();
    if (!main) return;
    const HistoryFileState history = loadHistoryFile(main->platform(), historyFile());
    if (!history.notice.empty()) main->platform().message(history.notice);
    GameHistoryWindow* window = historyWindow();
    if (!window) {
        window = new GameHistoryWindow;
        history_.reset(window);
    }
    window->showGames(history.games);
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace capzel::ui
