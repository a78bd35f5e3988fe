// The program's game commands: New (the new-game dialog), Save Game,
// Load Game, the High Scores action, and the running game kept on disk
// for the next start.
#include "app/AppGameCommands.h"

#include <QApplication>
#include <QComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>

#include "records/SaveLoadCommands.h"
#include "app/App.h"
#include "ui/windows/StatusWindow.h"
#include "desktop/MessageBoxes.h"
#include "desktop/ProgramFolder.h"
#include "desktop/QtPlatform.h"
#include "ui/windows/HighScoreWindow.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/NewGameDialog.h"
#include "ui/windows/FramePlacement.h"
#include "records/NewGame.h"
#include "platform/Platform.h"
#include "records/SavedGameState.h"
#include "desktop/Autosave.h"

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
    if (game().gameRunning && !askYesNo(main, kNewGameQuestion)) return;

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
    Game shown = main->game();
    GameContext ctx{shown, main->platform()};
    saveGameCommand(ctx);
}

void CapzelApp::loadGame() {
    MainWindow* main = mainWindow();
    if (!main) return;
    QPointer<MainWindow> window(main);
    Game running = main->game();
    GameContext ctx{running, main->platform()};
    // The window may have gone while the command's boxes were open.
    loadGameCommand(ctx, programFolder(), [&](const SavedGame& game) {
        if (window && mainWindow() == window) beginSavedGame(*window, game);
    });
}

// The saved game replaces the running one in the same window: a shot or a
// charge of the old game ends, and what it left on the field goes with it.
void CapzelApp::beginSavedGame(MainWindow& window, const SavedGame& game) {
    QPointer<MainWindow> alive(&window);
    const Judgement started = session_.beginSavedGame(game);
    window.menuState().songNumber = 1;
    window.playSong(1);
    window.syncMenus();
    window.refreshField();
    // The status window keeps the place it had.
    if (StatusWindow* status = showStatusWindow(*this)) status->refreshRows();
    if (alive) tellFirstTurn(*alive, started);
}

void CapzelApp::beginNewGame(const NewGameSettings& chosen) {
    beginGameInFreshWindow([this, &chosen] { return session_.beginNewGame(chosen); });
}

void CapzelApp::tellFirstTurn(MainWindow& window, const Judgement& started) {
    QPointer<MainWindow> alive(&window);
    const GameFlow flow = window.tell(started);
    if (alive) {
        alive->syncMenus();
        alive->refreshField();
    }
    notifyStateChanged();
    if (flow == GameFlow::Ended) {
        gameEnded();
        session_.keep();  // the game is over: its kept copy goes, so it is not offered again
    }
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
    // Whole on the screen, clear of the game's other windows where there is room.
    placeClear(*window, [window] { return window->frameGeometry().topLeft(); });
}

// The running game kept on disk, and its offer at the next start.
AutosaveSlots& CapzelApp::autosaveSlots() {
    if (!autosaveSlots_) autosaveSlots_ = std::make_unique<AutosaveSlots>(userDataFolder());
    return *autosaveSlots_;
}

void CapzelApp::keep(const Game& g) {
    MainWindow* main = mainWindow();
    if (!main) return;
    const std::string path = autosaveSlots().file();
    std::string failure = path.empty() ? autosaveSlots().why() : keepAutosave(main->platform(), g, path);
    // The record beside it: one message tells of either.
    if (!path.empty()) {
        const std::string recordFailure = keepRunningRecord(path);
        if (failure.empty()) failure = recordFailure;
    }
    if (failure.empty() || autosaveFailureTold_) return;
    autosaveFailureTold_ = true;
    main->platform().message("The running game could not be kept for the next start. " + failure);
}

namespace {

// The player's pick among several kept games; nothing for "Not Now".
std::optional<std::size_t> chooseKeptGame(QWidget* parent, const std::vector<KeptGame>& games) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Capzel"));
    dialog.setLabelText(QString::fromLatin1(kResumeChoicePrompt));
    QStringList items;
    for (const KeptGame& kept : games) items << describeKeptGame(kept);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    dialog.setOkButtonText(QStringLiteral("Resume"));
    dialog.setCancelButtonText(QStringLiteral("Not Now"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    // By place in the list: two games may read the same.
    const QComboBox* list = dialog.findChild<QComboBox*>();
    const int index = list ? list->currentIndex() : -1;
    if (index < 0 || std::size_t(index) >= games.size()) return std::nullopt;
    return std::size_t(index);
}

}  // namespace

void CapzelApp::beginGameInFreshWindow(const std::function<Judgement()>& begin) {
    MainWindow& main = openMainWindow();
    QPointer<MainWindow> window(&main);
    const Judgement started = begin();
    main.playSong(main.menuState().songNumber);

    // The main window to the top-left corner; its activation paints the pieces.
    placeFrame(main, [window] {
        QScreen* screen = window ? window->screen() : nullptr;
        return screen ? screen->geometry().topLeft() : QPoint(0, 0);
    });
    main.syncMenus();
    main.refreshField();

    // The status window at the bottom right of the screen, refreshed at once.
    if (StatusWindow* status = showStatusWindow(*this)) {
        status->placeForNewGame();
        status->refreshRows();
    }
    if (window) tellFirstTurn(*window, started);
}

void CapzelApp::offerResume() {
    MainWindow* main = mainWindow();
    if (!main || game().gameRunning) return;
    if (offerRejoin()) return;
    Platform& ui = main->platform();
    AutosaveSlots::Scan found = autosaveSlots().claimFreeSlots(ui);
    for (const std::string& notice : found.notices) ui.message(notice);
    std::optional<std::size_t> chosen;
    if (found.games.size() == 1 && ui.askYesNo(kResumeQuestion)) chosen = 0;
    if (found.games.size() > 1) chosen = chooseKeptGame(main, found.games);
    if (mainWindow() != main || game().gameRunning) chosen.reset();  // something else started meanwhile
    autosaveSlots().settle(chosen ? found.games[*chosen].path : std::string());
    if (!chosen) return;
    beginSavedGame(*main, found.games[*chosen].game);
}

}  // namespace capzel::ui
