#include "controls/ShotReplay.h"

#include "controls/PacedShot.h"
#include "rules/ShotInPlay.h"

namespace capzel {

struct ShotReplay::Copy {
    Copy(const Game& atLaunch, const ShotCommand& command, const BoardControls& shown, Platform& clockSource,
         StepPace& pace)
        : game(atLaunch), shot(game, command), run(shot, clockSource, pace), controls(shown) {}
    Game game;
    ShotInPlay shot;
    PacedShot run;
    BoardControls controls;
};

ShotReplay::ShotReplay(const Game& atLaunch, const ShotCommand& shot, const BoardControls& controls,
                       Platform& clockSource, StepPace& pace)
    : copy_(std::make_unique<Copy>(atLaunch, shot, controls, clockSource, pace)) {}
ShotReplay::~ShotReplay() = default;
ShotReplay::ShotReplay(ShotReplay&&) noexcept = default;
ShotReplay& ShotReplay::operator=(ShotReplay&&) noexcept = default;

bool ShotReplay::done() const { return copy_->run.done(); }
long ShotReplay::wait() const { return copy_->run.wait(); }
void ShotReplay::advance() { copy_->run.advance(); }
void ShotReplay::finish() { copy_->run.finish(); }
const Game& ShotReplay::game() const { return copy_->game; }
const BoardControls& ShotReplay::controls() const { return copy_->controls; }

}  // namespace capzel
