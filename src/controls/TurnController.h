// The turn of the player at the board, as explicit phases: idle, aiming,
// charging the power bar, the shot running, its judging (until what the
// rules announced has been told), and the game over.
// The controller owns the run that is under way (the charge or the shot);
// whoever drives it (the main window's clock, or a loop with nobody
// watching) asks how long to wait, waits, and advances. Input and commands
// act between two advances.
#pragma once

#include <memory>
#include <optional>
#include <variant>

#include "controls/ChargeRun.h"
#include "controls/LastShot.h"
#include "controls/PacedShot.h"
#include "controls/ShotSounds.h"
#include "controls/SteppedRun.h"
#include "model/GameContext.h"
#include "model/WindowState.h"
#include "rules/Announcement.h"

namespace capzel {

enum class TurnPhase { Idle, Aiming, Charging, Shooting, Judging, GameOver, Replaying };

class TurnController final : public SteppedRun {
public:
    explicit TurnController(const GameContext& ctx) : ctx_(ctx), sounds_(ctx.ui) {}

    TurnPhase phase() const;

    // The mouse over the field: aiming with the left button, placing the
    // piece by hand with Shift.
    void mouseMove(int buttons, int shift, float x, float y);

    // A button released over the field starts the power bar, unless no game
    // runs, a shot runs, or the bar is already charging.
    void mouseUp();

    // The "Go" button: the charge ends at its next look at Charging.
    void goClicked();

    // Fires a shot with the aim on the board and the strength in Power, as
    // "Go" does after a charge (for a turn played without the bar). Nothing
    // while no game runs or a run is under way.
    void startShot();

    // True while a charge or a shot is under way.
    bool running() const override { return !std::holds_alternative<std::monostate>(run_); }

    // Yields to wait before the next advance.
    long wait() const override;

    // Advances the run. A finished charge fires the shot (when the player
    // has aimed); a shot's hits sound through the platform as they happen
    // (controls/ShotSounds.h); a finished shot is judged at once, and what the rules
    // announce waits in takeAnnouncements() for the caller to tell once the
    // advance has returned. Tells whether the game ended in the judging: the
    // caller then shows the high scores, after those announcements.
    GameFlow advance() override;

    // What the judging of the last shot announced, in order, not yet told.
    // The turn stays in its judging phase until they are taken.
    // A window tells them one at a time, and marks each once it was told.
    bool hasAnnouncements() const { return !announcements_.empty(); }
    const Announcement& nextAnnouncement() const { return announcements_.front(); }
    void announcementTold();
    std::vector<Announcement> takeAnnouncements();

    // Drops the run under way (its game is being replaced or its window
    // closed): the pieces stop, and the aim, the bar and "Go" go away.
    void drop();

    // The shot under way, if any.
    const PacedShot* shot() const { return std::get_if<PacedShot>(&run_); }

    // The delay before each step of a shot or replay and each tick of the
    // bar, as the last calibration and the contacts since left it.
    const StepPace& pace() const { return pace_; }

    // What the shot under way, or the last one, reported so far: contacts,
    // kills, pieces sent on (model/ShotEvent.h).
    const ShotEvents& shotEvents() const { return shotEvents_; }

    // Esc: an aim or a charge is called off. No shot is taken, the aim
    // line, the bar and "Go" go away, and the same player aims again. True
    // when there was something to call off.
    bool cancel();

    // Shots judged on this field so far (a caller notices a new one).
    int judgedShots() const { return judgedShots_; }

    // Taking back the last judged shot: possible while the game runs and
    // nothing is under way, once per shot, until the next shot starts.
    bool canUndo() const;
    bool undo();

    // Playing the last shot again on a copy of its start, driven like a
    // shot; the game does not change. Possible once a shot of this field
    // has been judged and while nothing is under way.
    bool canReplay() const;
    bool startReplay();
    const ReplayRun* replay() const { return std::get_if<ReplayRun>(&run_); }

    // A command changed the game between two advances (a hidden command):
    // when a shot runs, its record keeps the change for a replay.
    void gameChangedByCommand();

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
    const LastShot* lastShot() const { return last_ ? &*last_ : nullptr; }
    // Whether the player has put the piece by hand since the last launch.
    bool placedByHand() const { return placedByHand_; }

private:
    void fire();
    GameFlow judge();
    void clearBoardControls();

    GameContext ctx_;
    BoardControls controls_ = makeBoardControls();
    StepPace pace_;
    std::variant<std::monostate, ChargeRun, PacedShot, ReplayRun> run_;
    std::optional<LastShot> last_;
    bool placedByHand_ = false;  // since the last launch
    int judgedShots_ = 0;
    long shotAdvances_ = 0;  // advances of the shot under way
    ShotEvents shotEvents_;
    ShotSounds sounds_;
    std::vector<Announcement> announcements_;
};

}  // namespace capzel
