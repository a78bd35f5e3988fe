// The coach of a player's first game: three short steps shown over the
// field while a person has the turn (drag back from your piece, release,
// press Go or Space). Each step follows what the turn is doing; once the
// first shot is on its way, or once the player closes it, the coach is done
// and is kept done in the player's settings, so it never comes back. It
// stands in one of two empty bands of the field, the one clear of the piece
// whose turn it is, and steps aside while a box is open. It also offers the
// helpers in one click ("Turn on the helpers").
#pragma once

#include <QFrame>
#include <optional>

#include "controls/TurnController.h"

class QLabel;
class QPushButton;
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

// Where the coach stands on the classic field (designed pixels): the band
// above the centre, unless `piece` (the piece it points at) lies under it,
// then the band below.
QRect coachPlace(const QRect& piece);

class FirstGameCoach : public QFrame {
    Q_OBJECT
public:
    // Shown over `field`, the board's view, for the turn played there.
    FirstGameCoach(GameHost& app, const TurnController& turn, QWidget* field);

    // Looks at the game again: shows the step the turn is at while a person
    // has the turn and no box is open, hides otherwise, and ends the
    // coaching with the first shot. The window calls it whenever its menus
    // follow the game and as a run advances.
    void follow(bool personToPlay);
    // A box is about to open: the coach steps aside until the next look.
    void stepAside();

    // The panel, its type and its buttons `zoom` times their designed size,
    // over the field shown as large.
    void setZoom(double zoom);

    CoachStep step() const { return step_; }
    QToolButton* closeButton() const { return close_; }
    QPushButton* helpersButton() const { return helpers_; }

private:
    void finish();
    void setShown(bool shown);
    void place();
    QRect pieceOnField() const;

    GameHost& app_;
    const TurnController& turn_;
    CoachStep step_ = CoachStep::DragBack;
    double zoom_ = 1.0;
    QRect placed_;  // the designed place it stands at now
    QLabel* number_;
    QLabel* text_;
    QToolButton* close_;
    QPushButton* helpers_;
    int buttonRoom_ = 0;
    int judgedSeen_ = 0;  // the turn's judged shots at the last look  // the layout's room kept for the buttons
};

}  // namespace capzel::ui
