// The program's game commands: New (the new-game dialog), Save Game,
// Load Game, the High Scores action, and the running game kept on disk
// for the next start.
#include "ui/AppGameCommands.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>

#include "records/SaveLoadCommands.h"
#include "rules/TurnStart.h"
#include "ui/App.h"
#include "ui/StatusWindow.h"
#include "ui/MessageBoxes.h"
#include "ui/ProgramFolder.h"
#include "ui/QtPlatform.h"
#include "ui/HighScoreWindow.h"
#include "ui/MainWindow.h"
#include "ui/NewGameDialog.h"
#include "platform/Platform.h"
#include "records/SavedGameState.h"
#include "ui/Autosave.h"

namespace capzel::ui {

namespace {

const QString kNewGameQuestion = QStringLiteral(
    "Starting a new game will end the current one.  Are you sure you want to start a new game?");

}  // namespace

StatusWindow* showStatusWindow(CapzelApp& app) {
    app.showStatus();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* status = qobject_cast<StatusWindow*>(w); status && status->isVisible()) return status;
    return nullptr;
}

NewGameDialog* CapzelApp::newGameDialog() const { return qobject_cast<NewGameDialog*>(newGameDialog_.get()); }

HighScoreWindow* CapzelApp::highScoresWindow() const { return qobject_cast<HighScoreWindow*>(highScores_.get()); }

void CapzelApp::newGame() {
    MainWindow* main = mainWindow();
    if (main && !main->isVisible()) main = nullptr;
    if (g_.gameRunning && !askYesNo(main, kNewGameQuestion)) return;

    // A fresh dialog every time: every control as laid out.
    auto* dialog = new NewGameDialog(*this);
    newGameDialog_.reset(dialog);
    QScreen* screen = main ? main->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = dialog->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        dialog->move(frame.topLeft());
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    dialog->nameEdit(1)->setFocus();

    // The dialog is shown first, so the program does not end with its last
    // window. A shot or a charge running in the main window ends with it.
    if (main) main->close();
}

void CapzelApp::saveGame() {
    MainWindow* main = mainWindow();
    if (!main) return;
    GameContext ctx = main->context();
    saveGameCommand(ctx);
}

void CapzelApp::loadGame() {
    MainWindow* main = mainWindow();
    if (!main) return;
    QPointer<MainWindow> window(main);
    GameContext ctx = main->context();
    // The window may have gone while the command's boxes were open.
    loadGameCommand(ctx, programFolder(), [&] {
        if (window) startLoadedGame(*window);
    });
}

void CapzelApp::startLoadedGame(MainWindow& window) {
    QPointer<MainWindow> alive(&window);
    GameContext ctx = window.context();
    // The loaded game replaces the running one in the same window: a
    // shot or a charge of the old game ends here, and what it left on
    // the field goes with it.
    window.turn().drop();
    window.playSong(g_.songNumber);
    window.syncMenus();
    window.refreshField();
    // The status window keeps the place it had.
    if (StatusWindow* status = showStatusWindow(*this)) status->refreshRows();
    autosave();
    if (startTurn(ctx, g_.currentTurn) == GameFlow::Ended) gameEnded();
    if (alive) alive->syncMenus();
}

void CapzelApp::showHighScores() {
    if (QWidget* open = highScores_.get()) {
        // Already open: brought up again, not read again.
        open->setWindowState(open->windowState() & ~Qt::WindowMinimized);
        open->show();
        open->raise();
        open->activateWindow();
        return;
    }
    MainWindow* main = mainWindow();
    if (!main) return;
    auto* window = new HighScoreWindow(main->platform(), highScoreFile());
    highScores_.reset(window);
    window->show();
    window->raise();
}

// The running game kept on disk, and its offer at the next start.
void CapzelApp::autosave() {
    MainWindow* main = mainWindow();
    if (!main) return;
    const std::string failure = keepAutosave(main->platform(), g_, main->field().board, autosaveFile());
    if (failure.empty() || autosaveFailureTold_) return;
    autosaveFailureTold_ = true;
    main->platform().message("The running game could not be kept for the next start. " + failure);
}

void CapzelApp::offerResume() {
    MainWindow* main = mainWindow();
    if (!main || g_.gameRunning) return;
    Platform& ui = main->platform();
    const AutosaveReading found = readAutosave(ui, autosaveFile());
    if (!found.notice.empty()) ui.message(found.notice);
    if (!found.game || !ui.askYesNo(kResumeQuestion)) return;
    if (mainWindow() != main || g_.gameRunning) return;  // something else started meanwhile
    GameContext ctx = main->context();
    applySavedGame(ctx, *found.game);
    startLoadedGame(*main);
}

}  // namespace capzel::ui
