// The last shot of the game, kept so that it can be shown again or taken
// back: the game and the field as they stood when the shot was launched.
//
// Taking the shot back restores the game (places, scores, targets, flags,
// killers, whose turn) and leaves the walls as they are; what only the
// window keeps (songs, menus) is not part of the record at all. Showing it again
// plays the shot once more on a copy of its start, which the window draws
// instead of the field until the copy's pieces rest; the game itself does not
// change. The engine is deterministic, so the copy ends where the shot ended:
// a command that changed the game while the shot ran (a hidden command) is
// kept with the step it came at, and the copy takes the same change there.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "controls/PacedShot.h"
#include "model/Field.h"
#include "model/GameState.h"
#include "model/WindowState.h"
#include "platform/Platform.h"
#include "rules/Announcement.h"

namespace capzel {

// The game as a command left it while the shot ran, before advance
// number `advance` (counted from 0) of the shot.
struct MidShotChange {
    long advance = 0;
    GameState state;
    Field field;
};

struct LastShot {
    GameState startState;  // as the shot was launched (shotInProgress set)
    Field startField;
    BoardControls startControls;  // the bar and "Go" as the shot left them, shown by a replay
    std::vector<MidShotChange> changes;  // in the order they came
    bool placedByHand = false;  // the piece was put in its box by hand before the launch
    bool judged = false;   // the rules have judged it
    // Once judged: what the rules announced, and the hash of the game as
    // the judging left it (model/GameSnapshot.h), for the game's record.
    std::vector<Announcement> announcements;
    std::uint64_t judgedHash = 0;
};

// Puts the game back to the moment before `shot` was launched: the state of
// the game, the pieces and their speeds. Whether walls are in play stays as
// it is now. The aim line is hidden; the caller clears the bar and "Go".
void restoreShotStart(const LastShot& shot, GameState& g, Field& field);

// The last shot played again on a copy of its start. Driven like a shot
// (wait, advance, done) and paced by `pace` as the shot was; the clock comes
// from `clockSource`, every other call of the copy's platform is silent.
class ReplayRun {
public:
    ReplayRun(const LastShot& shot, Platform& clockSource, StepPace& pace);
    ~ReplayRun();
    ReplayRun(ReplayRun&&) noexcept;
    ReplayRun& operator=(ReplayRun&&) noexcept;

    bool done() const;
    long wait() const;
    void advance();
    void finish();

    // The copy the replay moves: what a window shows while it runs.
    const Field& field() const;
    const GameState& state() const;
    const BoardControls& controls() const;

private:
    struct Copy;
    std::unique_ptr<Copy> copy_;
};

}  // namespace capzel
