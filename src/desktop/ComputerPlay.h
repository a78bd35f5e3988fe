// The computer at the main window's board. When the turn belongs to a
// computer's seat it plays that turn on screen (controls/ComputerTurn.h),
// driven by the window's clock as a person's charge and shot are; while it
// plays, the person's mouse on the field and "Go" are not taken, and the
// rules' messages of its turn close by themselves. For a person it offers
// "Suggest Shot": the Expert's aim and strength drawn over the field.
//
// The planning runs on threads of its own, on copies of the game, so the
// window stays alive meanwhile; a plan for a game that has changed or gone
// is dropped, and closing the window stops the planning at once.
#pragma once

#include <QAction>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <random>

#include "controls/ComputerTurn.h"
#include "players/PlanJob.h"
#include "players/PlannedShot.h"
#include "session/GameSession.h"

namespace capzel::ui {

class StepScheduler;

// The parts of a main window the computer plays in: the window itself (the
// computer plays only while it shows), its turn and the clock that drives
// it, the "Suggest Shot" item, and how the suggestion is drawn on the field
// (nothing: it goes).
struct ComputerPlayBoard {
    QWidget& window;
    TurnController& turn;
    StepScheduler& scheduler;
    QAction& suggestShotAction;
    std::function<void(const std::optional<players::PlannedShot>&)> showSuggestion;
};

class ComputerPlay : public QObject {
    Q_OBJECT
public:
    ComputerPlay(ComputerPlayBoard board, GameSession& session, std::mt19937& random);
    ~ComputerPlay() override;

    // True while the turn is a computer's: the person's field input waits.
    bool seatIsComputer() const;

    // True when a message shown now closes by itself: a computer's turn,
    // and no command of the person's running.
    bool unattended() const;
    // The same for what the rules said of `player`'s turn: it passes by
    // itself when that seat is the computer's.
    bool unattendedFor(int player) const;

    // Held while a person's command runs (a menu item, a key, the mouse):
    // the boxes it shows wait for the person, whoever's turn it is.
    class PersonCommand {
    public:
        explicit PersonCommand(ComputerPlay& play);
        ~PersonCommand();
        PersonCommand(const PersonCommand&) = delete;
        PersonCommand& operator=(const PersonCommand&) = delete;

    private:
        QPointer<ComputerPlay> play_;
    };
    [[nodiscard]] PersonCommand personCommand() { return PersonCommand(*this); }

    // Looks, once the current event is handled, whether a computer is to
    // play now, and brings "Suggest Shot" and the suggestion up to date.
    void lookSoon();

    // "Suggest Shot": plans the Expert's shot for the person whose turn it
    // is and draws it when ready. Nothing while it may not be used.
    void suggestShot();
    bool canSuggest() const;

    // Ends the computer's turn and any planning (the window closes, or its
    // game is replaced); the window's clock drives the turn's own runs again.
    void stop();

    // The computer's latest turn, if any (over once it no longer runs).
    const ComputerTurn* turn() const;

private:
    void look();
    // Whether the session's board is this window's (a closed window's
    // handlers may still run while the next window plays).
    bool ownsBoard() const;
    void updateSuggestion();
    void suggestionReady();
    void clearSuggestion();

    ComputerPlayBoard board_;
    GameSession& session_;
    std::mt19937& random_;
    // The plan behind the suggestion; kept while it is drawn, as the game it fits.
    std::unique_ptr<players::PlanJob> suggestion_;
    QTimer lookTimer_;
    int personCommands_ = 0;
};

}  // namespace capzel::ui
