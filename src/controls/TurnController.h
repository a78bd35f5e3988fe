// The turn of the player at the board, as explicit phases: idle, aiming,
// charging the power bar, the shot running, its judging (until what the
// rules announced has been told), and the game over.
//
// The turn keeps what only the board shows (the aim line and a piece placed
// by hand until "Go", the power bar, "Go", the drawing order) and never
// writes the game: "Go" hands the shot to the match (match/Match.h), which
// checks it with the rulebook and launches it, and the turn then steps the
// shot in play at the window's pace. Whoever drives the turn (the main
// window's clock, or a loop with nobody watching) asks how long to wait,
// waits, and advances. Input and commands act between two advances.
#pragma once

#include <optional>
#include <variant>

#include "controls/Aiming.h"
#include "controls/ChargeRun.h"
#include "controls/PacedShot.h"
#include "controls/ShotReplay.h"
#include "controls/ShotSounds.h"
#include "controls/SteppedRun.h"
#include "match/Match.h"
#include "model/WindowState.h"
#include "rules/Announcement.h"

namespace capzel {

enum class TurnPhase { Idle, Aiming, Charging, Shooting, Judging, GameOver, Replaying };

class TurnController final : public SteppedRun {
public:
    // The turn of `match`'s game at a board whose boxes, clock and sounds are
    // `ui`'s. Both must outlive the turn.
    TurnController(Match& match, Platform& ui);

    TurnPhase phase() const;

    // The mouse over the field: aiming with the left button, placing the
    // piece by hand with Shift.
    void mouseMove(int buttons, int shift, float x, float y);

    // A button released over the field starts the power bar, unless no game
    // runs, a shot runs, or the bar is already charging.
    void mouseUp();

    // The "Go" button: the charge ends at its next look at Charging.
    void goClicked();

    // Fires `shot` as "Go" does after a charge, for a shot made without this
    // board's bar (another computer's, a record's): the pending aim and the
    // bar go, and the match launches it. The rulebook's refusal, if any;
    // nothing is fired while a run is under way.
    std::optional<Refusal> fire(const ShotCommand& shot);

    // The shot "Go" fires with a strength at Go: the seat whose turn it is,
    // the pending aim line and placement.
    ShotCommand pendingShot(std::int16_t strength) const;
    const PendingShot& pending() const { return pending_; }
    // The aim of a shot being shown (a computer's, another computer's) is
    // drawn as the player's own would be.
    void showAim(const Line& aim, const std::optional<HandPlacement>& placement);

    // True while a charge, a shot or a replay is under way.
    bool running() const override { return !std::holds_alternative<std::monostate>(run_); }

    // Yields to wait before the next advance.
    long wait() const override;

    // Advances the run. A finished charge fires the shot (when the player
    // has aimed); a shot's hits sound through the platform as they happen
    // (controls/ShotSounds.h); a shot whose pieces rest is judged at once,
    // and what the rules announce waits in the announcements for the caller
    // to tell once the advance has returned. Tells whether the game ended in
    // the judging: the caller then shows the high scores, after those
    // announcements.
    GameFlow advance() override;

    // What the judging of the last shot announced, in order, not yet told.
    // The turn stays in its judging phase until they are taken.
    bool hasAnnouncements() const { return !announcements_.empty(); }
    const Announcement& nextAnnouncement() const { return announcements_.front(); }
    void announcementTold();
    std::vector<Announcement> takeAnnouncements();

    // Drops the run under way (its game is being replaced or its window
    // closed): a shot in play goes as if never fired, and the aim, the bar
    // and "Go" go away.
    void drop();

    // The shot under way, if any.
    const PacedShot* shot() const { return std::get_if<PacedShot>(&run_); }

    // The delay before each step of a shot or replay and each tick of the
    // bar, as the last calibration and the contacts since left it.
    const StepPace& pace() const { return pace_; }

    // What the shot under way, or the last one, reported so far: contacts,
    // kills, pieces sent on (model/ShotEvent.h).
    const ShotEvents& shotEvents() const;

    // Esc: an aim or a charge is called off. No shot is taken, the aim
    // line, the bar and "Go" go away, and the same player aims again. True
    // when there was something to call off.
    bool cancel();

    // Shots judged at this board so far (a caller notices a new one).
    int judgedShots() const { return judgedShots_; }

    // Playing the last shot again on a copy of its launch, driven like a
    // shot; the game does not change. Possible once a shot of this board
    // has been judged and while nothing is under way.
    bool canReplay() const;
    bool startReplay();
    const ShotReplay* replay() const { return std::get_if<ShotReplay>(&run_); }

    // The game was changed or replaced outside the turn (a command, an undo,
    // a load): what the player had set for the next shot goes.
    void gameChanged();

    // The turn's controls on the field: the power bar, "Go", the aim label,
    // the charge flag and the drawing order, for a window to show.
    const BoardControls& controls() const { return controls_; }
    bool charging() const { return controls_.charging; }
    // The bar of a player charging at another computer of an online game,
    // filled from the bottom up to `level` (none: the bar goes). Only while
    // nothing runs here.
    void showBarAt(std::optional<int> level);

    // A turn start told outside a shot (a new game, a load, a command) puts
    // its pieces to the front as the judging of a shot does.
    void bringForward(const Judgement& judgement);
    // The guide lines come to the front when shown or hidden, and the aim
    // line over them.
    void bringGuidesForward();

    bool shotUnderWay() const override { return shot() != nullptr || replay() != nullptr; }

    // The game the board shows: the replay's copy while one runs, otherwise
    // the match's game with the player's pending aim and placement on it.
    Game shownGame() const;

    const Match& match() const { return *match_; }

private:
    void fireCharge();
    GameFlow judge();
    void clearBoardControls();

    Match* match_;
    Platform* ui_;
    PendingShot pending_;
    BoardControls controls_ = makeBoardControls();
    BoardControls launchControls_;  // the bar and "Go" as the last shot left them, for its replay
    StepPace pace_;
    std::variant<std::monostate, ChargeRun, PacedShot, ShotReplay> run_;
    int judgedShots_ = 0;
    bool replayable_ = false;  // a shot of this board was judged and is still the last in effect
    ShotEvents lastEvents_;
    ShotSounds sounds_;
    std::vector<Announcement> announcements_;
};

}  // namespace capzel
