// The program's game commands: New (the new-game dialog), Save Game,
// Load Game, and the High Scores action.
#include "ui/AppGameCommands.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>

#include "records/SaveLoadCommands.h"
#include "rules/Turns.h"
#include "ui/App.h"
#include "ui/FrmStatus.h"
#include "ui/MessageBoxes.h"
#include "ui/ProgramFolder.h"
#include "ui/QtPlatform.h"
#include "ui/frmHighScores.h"
#include "ui/frmMain.h"
#include "ui/frmNewGame.h"

namespace capzel::ui {

namespace {

const QString kNewGameQuestion = QStringLiteral(
    "Starting a new game will end the current one.  Are you sure you want to start a new game?");

}  // namespace

FrmStatus* showStatusWindow(CapzelApp& app) {
    app.showStatus();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* status = qobject_cast<FrmStatus*>(w); status && status->isVisible()) return status;
    return nullptr;
}

frmNewGame* CapzelApp::newGameDialog() const { return qobject_cast<frmNewGame*>(newGameDialog_.get()); }

frmHighScores* CapzelApp::highScoresWindow() const { return qobject_cast<frmHighScores*>(highScores_.get()); }

void CapzelApp::newGame() {
    frmMain* main = mainWindow();
    if (main && !main->isVisible()) main = nullptr;
    if (g_.GameRunning && !askYesNo(main, kNewGameQuestion)) return;

    // A fresh dialog every time: every control as laid out.
    auto* dialog = new frmNewGame(*this);
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
    dialog->txtName(1)->setFocus();

    // The dialog is shown first, so the program does not end with its last
    // window. A shot or a charge running in the main window ends with it.
    if (main) main->close();
}

void CapzelApp::saveGame() {
    frmMain* main = mainWindow();
    if (!main) return;
    GameContext ctx = main->context();
    saveGameCommand(ctx);
}

void CapzelApp::loadGame() {
    frmMain* main = mainWindow();
    if (!main) return;
    QPointer<frmMain> window(main);
    GameContext ctx = main->context();
    loadGameCommand(ctx, programFolder(), [&] {
        // The loaded game replaces the running one in the same window: a
        // shot or a charge of the old game ends here, and what it left on
        // the field goes with it.
        window->turn().drop();
        window->playSong(g_.SongNumber);
        window->syncMenus();
        window->refreshField();
        // The status window keeps the place it had.
        if (FrmStatus* status = showStatusWindow(*this)) status->tmrRefresh_Timer();
        if (Start_Turn(ctx, g_.CurrentTurn) == GameFlow::Ended) gameEnded();
    });
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
    frmMain* main = mainWindow();
    if (!main) return;
    auto* window = new frmHighScores(main->platform(), highScoreFile());
    highScores_.reset(window);
    window->show();
    window->raise();
}

}  // namespace capzel::ui
