// What the windows need of the application that owns the game: the game
// session, the program's random numbers and settings, the events of a game's
// life and the program's commands that the menus reach. The windows reach
// the application only through this, so they never depend on it.
#pragma once

#include <QSize>
#include <random>

#include "session/GameSession.h"
#include "desktop/PlayerSettings.h"
#include "records/NewGame.h"

namespace capzel::ui {

class GameHost {
public:
    virtual ~GameHost() = default;

    virtual GameSession& session() = 0;
    const Game& game();
    virtual std::mt19937& random() = 0;
    virtual void seedRandom() = 0;

    // The player's comforts (desktop/PlayerSettings.h), as kept; a change
    // goes through setSettings, which keeps it and applies it at once to
    // every open window.
    virtual const PlayerSettings& settings() const = 0;
    virtual void setSettings(const PlayerSettings& settings) = 0;

    // The zoom the game's windows and boxes are shown at (1: the designed
    // size): the player's size as far as the main window fits its screen.
    virtual double windowZoom() const = 0;
    // The largest size (percent) at which the main window fits its screen,
    // and the outer size it would need at `percent`.
    virtual int largestSizePercent() const = 0;
    virtual QSize windowNeedAt(int percent) const = 0;

    // "Show Hints": the field marks the current player's piece and target.
    virtual bool showHints() const = 0;
    virtual void setShowHints(bool on) = 0;

    // The game changed (the status window and the computer look again).
    virtual void notifyStateChanged() = 0;
    // The game has ended: it goes into the history, the high scores show.
    virtual void gameEnded() = 0;

    // "Play" in the new-game dialog: the new game begins in a new main window.
    virtual void beginNewGame(const NewGameSettings& settings) = 0;

    // The program's commands.
    virtual void newGame() = 0;
    virtual void saveGame() = 0;
    virtual void loadGame() = 0;
    virtual void exitProgram() = 0;
    virtual void showStatus() = 0;
    virtual void showHighScores() = 0;
    virtual void showAbout() = 0;
    virtual void showHistory() = 0;
    // The whole-game records: a kept game watched again, the running
    // game's record written to a file of the player's choice.
    virtual void watchGameRecord() = 0;
    virtual void exportGameRecord() = 0;
    // A game across computers: hosted in this program, or joined.
    virtual void hostOnlineGame() = 0;
    virtual void joinOnlineGame() = 0;
    virtual void setPosition() = 0;
    virtual void setFriction() = 0;
    virtual void setSpeed() = 0;
    virtual void setPiece() = 0;
    virtual void setInGame() = 0;
    virtual void setGuidelines() = 0;
};

inline const Game& GameHost::game() { return session().game(); }

}  // namespace capzel::ui
