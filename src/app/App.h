// The application: owns the game session (session/GameSession.h) for the
// whole run and the current main window, and offers the program's commands that the
// windows' menus reach. Starting the program creates and shows the main
// window; the program ends when its last window is closed.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <random>

#include "model/Game.h"
#include "records/GameHistory.h"
#include "app/OnlineHost.h"
#include "ui/windows/OwnedWindow.h"

namespace capzel::ui {

class MainWindow;
class AboutBox;
class StatusWindow;
class NewGameDialog;
class HighScoreWindow;
class GameHistoryWindow;
class AutosaveSlots;
class WatchWindow;
class OnlinePlay;

class CapzelApp : public QObject, public OnlineHost, private GameKeeper {
    Q_OBJECT
public:
    explicit CapzelApp(QObject* parent = nullptr);
    ~CapzelApp() override;

    GameSession& session() override { return session_; }

    // The current main window (null before the first one or after it closed).
    MainWindow* mainWindow() const override { return main_.get(); }

    // The status window while it is open (it deletes itself when closed).
    StatusWindow* statusWindow() const override;

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
    std::mt19937& random() override { return random_; }
    void seedRandom() override;

    const PlayerSettings& settings() const override { return settings_; }
    // The zoom the windows are shown at: the player's size, as far as the
    // main window fits its screen at it.
    double shownZoom() const;
    double windowZoom() const override { return shownZoom(); }
    int largestSizePercent() const override;
    QSize windowNeedAt(int percent) const override;
    void setSettings(const PlayerSettings& settings) override;
    // Sent once a change of the settings is kept: the windows apply it.
    Q_SIGNAL void settingsChanged();

    // Whether the field marks the current player's piece and target between
    // shots ("Show Hints"): one of the helpers, kept with the settings.
    bool showHints() const override { return settings_.fieldHints; }
    void setShowHints(bool on) override;

    // The end of a game: adds the finished game to the game history (a
    // broken history file is set aside with a message), then opens the
    // high scores.
    void gameEnded() override;
    void recordFinishedGame();

    // Tells the windows that show the game (the status window) that the
    // game state may have changed: after every command, as a run advances,
    // and before a box speaks of it.
    void notifyStateChanged() override { emit gameStateChanged(); }

    // Keeps the running game on disk (desktop/Autosave.h), in this
    // copy's own slot, whenever the session keeps it: after every judged
    // shot and undo, and whenever a game starts or comes back; a failed
    // write is told once per run.
    void keep(const Game& g) override;
    // At start-up: offers the unfinished games that no running copy holds,
    // with a question for one and a choice among several; the game chosen
    // is loaded as Load Game does and goes on in its own slot.
    void offerResume();

signals:
    void gameStateChanged();

public:
    // "Play" in the new-game dialog: a new main window, the game built from
    // the dialog's values, the status window, the first turn.
    void beginNewGame(const NewGameSettings& settings) override;

    // The program's commands, reached from the windows' menus.
    // File menu.
    void newGame() override;
    void saveGame() override;
    void loadGame() override;
    // Ends the program: every window closes (the program ends with its
    // last window).
    void exitProgram() override;

    // Windows of their own.
    void showStatus() override;
    void showHighScores() override;
    void showAbout() override;
    // Opens the Game History window, or brings the open one up.
    void showHistory() override;

    // The whole-game records (app/AppRecords.cpp). "Watch Game Record...":
    // a record file chosen in the records folder is watched; "Export Game
    // Record...": the running game's record to a chosen file.
    void watchGameRecord() override;
    void exportGameRecord() override;
    // Watches the record in `path` (the command line, a file dropped on the
    // main window). A record that cannot be read is refused with a message
    // that names the wrong field, and nothing else changes. Otherwise the
    // game in progress is put aside (its window hidden, its runs held)
    // until the Watch window closes.
    void watchRecordFile(const std::string& path);
    // The Game History's "Watch" and "Export Game Record..." for a finished
    // game whose record was kept.
    void watchFinishedGame(const HistoryGame& game);
    void exportFinishedGame(const HistoryGame& game);
    // The Watch window while it is open.
    WatchWindow* watchWindow() const;

    // The online game (app/AppOnline.h). "Host Online Game...": the host's
    // choices, then a server in this program and its room. "Join Online
    // Game...": an address, a room's code and a name.
    void hostOnlineGame() override;
    void joinOnlineGame() override;
    OnlinePlay& onlinePlay();
    // Begins a game in a fresh main window (a new game, or the one an
    // online room's server sent): `begin` builds it on the new board and
    // gives its first turn's announcements.
    void beginGameInFreshWindow(const std::function<Judgement()>& begin) override;
    // At start-up, a kept online seat: offers to take it back.
    bool offerRejoin();

    // The hidden command menu.
    void setPosition() override;
    void setFriction() override;
    void setSpeed() override;
    void setPiece() override;
    void setInGame() override;
    void setGuidelines() override;

private:
    // A saved game (loaded or resumed) begins in the main window: music
    // from song 1, the status window, the first turn.
    void beginSavedGame(MainWindow& window, const SavedGame& game);
    // Tells the first turn's start of a game that has begun, and ends the
    // game when nobody is left to play it.
    void tellFirstTurn(MainWindow& window, const Judgement& started);

    AutosaveSlots& autosaveSlots();
    // The running game's record beside its autosave (none once it ended;
    // gives what went wrong), and a finished game's record in the records
    // folder (a failed write is told once per run).
    std::string keepRunningRecord(const std::string& autosavePath);
    void keepFinishedRecord(const HistoryGame& game);
    void recordFailure(const std::string& failure);
    // The chart of the game that has just ended, beside the high scores.
    void showEndChart();
    // Watches `record` in a window titled `title`.
    void watch(const GameRecord& record, const QString& title);
    void putGameAside(bool aside);
    // Writes `record` to a file the player chooses.
    void exportRecord(const GameRecord& record);

    // The session first: it goes last, after every window that reads it.
    GameSession session_{this};
    bool autosaveFailureTold_ = false;
    std::unique_ptr<AutosaveSlots> autosaveSlots_;
    OwnedWindow newGameDialog_;
    OwnedWindow highScores_;
    OwnedWindow history_;
    OwnedWindow watch_;
    bool recordFailureTold_ = false;
    PlayerSettings settings_ = loadPlayerSettings();
    std::unique_ptr<MainWindow> main_;
    OnlinePlay* online_ = nullptr;  // a child of the application
    QPointer<StatusWindow> status_;
    QPointer<AboutBox> about_;
    std::mt19937 random_;
};

}  // namespace capzel::ui
