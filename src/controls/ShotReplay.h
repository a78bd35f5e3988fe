// The last shot shown again: played once more on a copy of the game as it
// stood at the shot's launch, driven like a shot (wait, advance, done) and
// paced as the shot was; the window draws the copy instead of the game until
// the copy's pieces rest. The game itself does not change. The rulebook is
// deterministic, so the copy ends where the shot ended: the hidden commands
// that came while the shot ran are carried by the shot and taken at the
// advance they came at.
#pragma once

#include <memory>

#include "model/Command.h"
#include "model/Game.h"
#include "model/Pace.h"
#include "model/WindowState.h"
#include "platform/Platform.h"

namespace capzel {

class ShotReplay {
public:
    // `atLaunch` is the game as the shot was launched, `controls` the bar
    // and "Go" as the shot left them; the clock comes from `clockSource`.
    ShotReplay(const Game& atLaunch, const ShotCommand& shot, const BoardControls& controls, Platform& clockSource,
               StepPace& pace);
    ~ShotReplay();
    ShotReplay(ShotReplay&&) noexcept;
    ShotReplay& operator=(ShotReplay&&) noexcept;

    bool done() const;
    long wait() const;
    void advance();
    void finish();

    // The copy the replay moves: what a window shows while it runs.
    const Game& game() const;
    const BoardControls& controls() const;

private:
    struct Copy;
    std::unique_ptr<Copy> copy_;
};

}  // namespace capzel
