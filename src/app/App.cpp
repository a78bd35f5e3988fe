#include "app/App.h"
#include "app/AppOnline.h"

#include <QApplication>
#include <QDateTime>
#include <QPointer>
#include <QWindow>
#include <chrono>

#include "rules/HiddenCommands.h"
#include "ui/windows/AboutBox.h"
#include "desktop/Autosave.h"
#include "desktop/ButtonIcons.h"
#include "desktop/MessageBoxes.h"
#include "ui/windows/GameHistoryWindow.h"
#include "desktop/HistoryFile.h"
#include "desktop/ProgramFolder.h"
#include "desktop/RecordStore.h"
#include "ui/watch/RecordDrop.h"
#include "desktop/QtPlatform.h"
#include "ui/windows/StatusWindow.h"
#include "desktop/ComputerPlay.h"
#include "ui/windows/FieldView.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/FramePlacement.h"
#include "ui/windows/Twips.h"
#include "ui/windows/WindowZoom.h"

namespace capzel::ui {

CapzelApp::CapzelApp(QObject* parent) : QObject(parent) {
    setButtonIcons(settings_.buttonIcons);
    session_.setTimeSource([] { return QDateTime::currentDateTime().toString(Qt::ISODate).toStdString(); });
}

// The status window reads the game state: it goes before the state does
// (it has no parent that would take it along).
// Online play goes first: it stops its game on the session.
CapzelApp::~CapzelApp() {
    delete online_;
    online_ = nullptr;
    delete status_.data();
}

MainWindow& CapzelApp::openMainWindow() {
    if (main_) {
        main_->close();
        // A shot or a message box may still run inside the old window: it is
        // deleted when control is back in the main event loop.
        main_.release()->deleteLater();
    }
    main_ = std::make_unique<MainWindow>(*this);
    connect(this, &CapzelApp::gameStateChanged, &main_->computerPlay(), &ComputerPlay::lookSoon);
    // The size first: the settings window shown by applySettings follows it.
    connect(this, &CapzelApp::settingsChanged, main_.get(),
            [this, w = main_.get()] { w->setSizePercent(settings_.sizePercent); });
    connect(this, &CapzelApp::settingsChanged, main_.get(), &MainWindow::applySettings);
    // The boxes and the status window follow the size the main window took.
    connect(main_.get(), &MainWindow::zoomChanged, this, [this](double zoom) {
        setBoxZoom(zoom);
        if (status_) status_->setZoom(zoom);
    });
    setBoxZoom(shownZoom());
    // A game record dropped on the window is watched.
    new RecordDrop(main_.get(), [this](const std::string& path) { watchRecordFile(path); });
    main_->show();
    return *main_;
}

void CapzelApp::setSettings(const PlayerSettings& settings) {
    if (settings == settings_) return;
    settings_ = settings;
    savePlayerSettings(settings_);
    setButtonIcons(settings_.buttonIcons);
    emit settingsChanged();
}

double CapzelApp::shownZoom() const {
    return main_ ? main_->view()->zoom() : zoomOf(settings_.sizePercent);
}

int CapzelApp::largestSizePercent() const {
    return main_ ? main_->largestFittingPercent() : kSizeChoices[std::size(kSizeChoices) - 1];
}

QSize CapzelApp::windowNeedAt(int percent) const { return main_ ? main_->outerSizeAt(zoomOf(percent)) : QSize(); }

void CapzelApp::setShowHints(bool on) {
    PlayerSettings changed = settings_;
    changed.fieldHints = on;
    setSettings(changed);
}

void CapzelApp::seedRandom() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    random_.seed(std::mt19937::result_type(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

void CapzelApp::exitProgram() {
    QApplication::closeAllWindows();
}

// The status command: opens the live status window, or brings the open one
// to the front. There is one status window at a time; it lives until the
// player closes it and goes with the application at the latest (in its
// destructor, before the game state), since it reads that state. It refreshes whenever the application
// says that the game changed.
StatusWindow* CapzelApp::statusWindow() const { return status_; }

void CapzelApp::showStatus() {
    if (!status_) {
        status_ = new StatusWindow(game());  // deletes itself when closed
        connect(this, &CapzelApp::gameStateChanged, status_, &StatusWindow::stateChanged);
        const auto follow = [this, w = status_.data()] {
            w->setZoom(shownZoom());
            w->setMarks(settings_.statusMarks);
        };
        follow();
        connect(this, &CapzelApp::settingsChanged, status_, follow);
    }
    status_->setWindowState(status_->windowState() & ~Qt::WindowMinimized);
    status_->show();
    status_->raise();
    status_->activateWindow();
}

// The Help menu's "&About": the About box, not modal. It is created when
// shown and deletes itself when closed; while one is open, "&About" brings
// that one to the front instead of opening a second.
void CapzelApp::showAbout() {
    if (about_) {
        about_->raise();
        about_->activateWindow();
        return;
    }
    // No parent widget: the box outlives a main window that a new game
    // replaces, and keeps the program running while it is open. It owns
    // itself (it deletes itself on close).
    auto* about = new AboutBox;  // NOLINT: owned by itself through WA_DeleteOnClose
    about_ = about;
    // Kept off the task bar as a dialog of the main window, without being
    // its child.
    about->winId();
    if (MainWindow* w = mainWindow(); w != nullptr && about->windowHandle() != nullptr)
        about->windowHandle()->setTransientParent(w->windowHandle());
    about->show();
}

// The hidden menu's six commands, run on the game of the current main
// window: its field, the one game state, and its platform for the input
// boxes. The window brings its menus and picture up to date afterwards.
namespace {

// Runs a command on the current main window's game; nothing without one.
// A command that ends the game (nobody left alive) shows the high scores.
// A command of the hidden menu on the game of the main window; what it
// announces is told at once. A shot that runs on keeps the change for its
// replay.
void onMainWindow(CapzelApp& app, HiddenCommandKind command) {
    MainWindow* w = app.mainWindow();
    if (w == nullptr) return;
    const Judgement said = app.session().runCommand(command);
    if (w->tell(said) == GameFlow::Ended) app.gameEnded();
}

}  // namespace

void CapzelApp::setPosition() { onMainWindow(*this, HiddenCommandKind::SetPosition); }
void CapzelApp::setFriction() { onMainWindow(*this, HiddenCommandKind::SetFriction); }
void CapzelApp::setSpeed() { onMainWindow(*this, HiddenCommandKind::SetSpeed); }
void CapzelApp::setPiece() { onMainWindow(*this, HiddenCommandKind::SetPiece); }
void CapzelApp::setInGame() { onMainWindow(*this, HiddenCommandKind::SetInGame); }
void CapzelApp::setGuidelines() {
    if (MainWindow* w = mainWindow()) setGuidelinesCommand(w->menuState());
}

// The game history: a finished game is added to the history file at the
// end of the game, and the Game History command shows the file.
GameHistoryWindow* CapzelApp::historyWindow() const { return qobject_cast<GameHistoryWindow*>(history_.get()); }

void CapzelApp::gameEnded() {
    recordFinishedGame();
    showEndChart();
    showHighScores();
}

void CapzelApp::recordFinishedGame() {
    MainWindow* main = mainWindow();
    if (!main) return;
    const QString date = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    const HistoryGame game = finishedGame(this->game(), date.toStdString());
    keepFinishedRecord(game);
    const HistoryAddition addition = addToHistoryFile(historyFile(), game);
    if (!addition.notice.empty()) main->platform().message(addition.notice);
    // The open window gains the game; after a history set aside it shows the
    // new one.
    if (GameHistoryWindow* open = historyWindow(); open && addition.added) {
        if (addition.notice.empty())
            open->addGame(game);
        else
            open->showHistory(loadHistoryFile(main->platform(), historyFile()));
    }
}

void CapzelApp::showHistory() {
    MainWindow* main = mainWindow();
    if (!main) return;
    const HistoryFileState history = loadHistoryFile(main->platform(), historyFile());
    if (!history.notice.empty()) main->platform().message(history.notice);
    GameHistoryWindow* window = historyWindow();
    const bool fresh = !window;
    if (!window) {
        window = new GameHistoryWindow;
        history_.reset(window);
        zoomFont(*window, shownZoom());
        window->resize(window->size() * shownZoom());
        // A line found not to be a game while the wins are counted: the
        // file is set aside and the window shows the new, empty history.
        connect(window, &GameHistoryWindow::brokenLine, this, [this](const QString& why) {
            const std::string notice = setBrokenHistoryAside(historyFile(), why.toStdString());
            if (GameHistoryWindow* open = historyWindow()) open->showHistory({});
            if (MainWindow* w = mainWindow()) w->platform().message(notice);
        });
        window->hasRecord = [](const HistoryGame& game) { return findFinishedRecord(recordsFolder(), game).has_value(); };
        connect(window, &GameHistoryWindow::watchRequested, this, &CapzelApp::watchFinishedGame);
        connect(window, &GameHistoryWindow::exportRequested, this, &CapzelApp::exportFinishedGame);
        connect(window, &GameHistoryWindow::clearConfirmed, this, [this] {
            const std::string notice = clearHistoryFile(historyFile());
            if (!notice.empty()) {
                if (MainWindow* w = mainWindow()) w->platform().message(notice);
                return;
            }
            if (GameHistoryWindow* open = historyWindow()) open->showHistory({});
        });
    }
    window->showHistory(history);
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    // Whole on the screen, clear of the game's other windows where there is room.
    if (fresh) placeClear(*window, [window] { return window->frameGeometry().topLeft(); });
    window->raise();
    window->activateWindow();
}

}  // namespace capzel::ui
