// The application: owns the one game state (GameState) for the whole run
// and the current main window, and offers the program's commands that the
// windows' menus reach. Starting the program creates and shows the main
// window; the program ends when its last window is closed.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <random>

#include "model/GameState.h"
#include "ui/windows/OwnedWindow.h"

namespace capzel::ui {

class MainWindow;
class AboutBox;
class StatusWindow;
class NewGameDialog;
class HighScoreWindow;
class GameHistoryWindow;
class AutosaveSlots;

class CapzelApp : public QObject {
    Q_OBJECT
public:
    explicit CapzelApp(QObject* parent = nullptr);
    ~CapzelApp() override;

    GameState& state() { return g_; }

    // The current main window (null before the first one or after it closed).
    MainWindow* mainWindow() const { return main_.get(); }

    // The status window while it is open (it deletes itself when closed).
    StatusWindow* statusWindow() const;

    // The new-game dialog of the last New command (hidden once "Play" was
    // pressed) and the open high-score window; null when there is none.
    NewGameDialog* newGameDialog() const;
    HighScoreWindow* highScoresWindow() const;
    GameHistoryWindow* historyWindow() const;

    // Creates a fresh main window and shows it. A previous one is closed;
    // it is deleted once any handler running in it has returned.
    MainWindow& openMainWindow();

    // The program's random numbers, seeded from the clock at every load of
    // the main window.
    std::mt19937& random() { return random_; }
    void seedRandom();

    // Whether the field marks the current player's piece and target between
    // shots ("Show Hints"); on from the start, for the whole run.
    bool showHints() const { return showHints_; }
    void setShowHints(bool on) { showHints_ = on; }

    // The end of a game: adds the finished game to the game history (a
    // broken history file is set aside with a message), then opens the
    // high scores.
    void gameEnded();
    void recordFinishedGame();

    // Tells the windows that show the game (the status window) that the
    // game state may have changed: after every command, as a run advances,
    // and before a box speaks of it.
    void notifyStateChanged() { emit gameStateChanged(); }

    // Keeps the running game on disk (ui/Autosave.h), in this copy's own
    // slot, after every judged shot and whenever a game starts or comes
    // back; a failed write is told once per run.
    void autosave();
    // At start-up: offers the unfinished games that no running copy holds,
    // with a question for one and a choice among several; the game chosen
    // is loaded as Load Game does and goes on in its own slot.
    void offerResume();

signals:
    void gameStateChanged();

public slots:
    // The commands are virtual so that a test can record that a window
    // reached them.
    // File menu.
    virtual void newGame();
    virtual void saveGame();
    virtual void loadGame();
    // Ends the program: every window closes (the program ends with its
    // last window).
    void exitProgram();

    // Windows of their own.
    virtual void showStatus();
    virtual void showHighScores();
    virtual void showAbout();
    // Opens the Game History window, or reads the history again into the
    // open one and brings it up.
    virtual void showHistory();

    // The hidden command menu.
    virtual void setPosition();
    virtual void setFriction();
    virtual void setSpeed();
    virtual void setPiece();
    virtual void setInGame();
    virtual void setGuidelines();

private:
    // A loaded game begins: music from song 1, the status window, the turn.
    void startLoadedGame(MainWindow& window);

    AutosaveSlots& autosaveSlots();

    // The game state first: it goes last, after every window that reads it.
    GameState g_;
    bool autosaveFailureTold_ = false;
    std::unique_ptr<AutosaveSlots> autosaveSlots_;
    OwnedWindow newGameDialog_;
    OwnedWindow highScores_;
    OwnedWindow history_;
    bool showHints_ = true;
    std::unique_ptr<MainWindow> main_;
    QPointer<StatusWindow> status_;
    QPointer<AboutBox> about_;
    std::mt19937 random_;
};

}  // namespace capzel::ui
