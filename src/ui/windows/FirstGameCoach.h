// The coach of a player's first game: three short steps shown over the
// field while a person has the turn (drag back from your piece, release,
// press Go or Space). Each step follows what the turn is doing; once the
// first shot is on its way, or once the player closes it, the coach is done
// and is kept done in the player's settings, so it never comes back.
#pragma once

#include <QFrame>
#include <optional>

#include "controls/TurnController.h"

class QLabel;
class QToolButton;

namespace capzel::ui {

class GameHost;

// The steps, in order; Done once the first shot has gone.
enum class CoachStep { DragBack, Release, PressGo, Done };

// The step a turn in `phase` is at: aiming waits for the release, a charge
// for "Go", and a shot on its way ends the coaching. Nothing while the
// rules speak, a replay runs or no game does.
std::optional<CoachStep> coachStepFor(TurnPhase phase);

// The words of a step ("" for Done).
QString coachText(CoachStep step);

class FirstGameCoach : public QFrame {
    Q_OBJECT
public:
    // Shown over `field`, the board's view, for the turn played there.
    FirstGameCoach(GameHost& app, const TurnController& turn, QWidget* field);

    // Looks at the game again: shows the step the turn is at while a person
    // has the turn, hides otherwise, and ends the coaching with the first
    // shot. The window calls it whenever its menus follow the game.
    void follow(bool personToPlay);

    // The panel, its type and its close button `zoom` times their designed
    // size, over the field shown as large.
    void setZoom(double zoom);

    CoachStep step() const { return step_; }
    QToolButton* closeButton() const { return close_; }

private:
    void finish();
    void setShown(bool shown);

    GameHost& app_;
    const TurnController& turn_;
    CoachStep step_ = CoachStep::DragBack;
    QLabel* number_;
    QLabel* text_;
    QToolButton* close_;
    int closeRoom_ = 0;  // the layout's room kept for the close button
};

}  // namespace capzel::ui
