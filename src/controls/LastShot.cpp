#include "controls/LastShot.h"

#include "platform/SilentPlatform.h"

namespace capzel {

void restoreShotStart(const LastShot& shot, GameState& g, Field& field) {
    const bool wallsOn = g.wallsOn;
    g = shot.startState;
    g.wallsOn = wallsOn;
    g.shotInProgress = false;
    g.power = 0;

    const Field& start = shot.startField;
    Board& b = field.board;
    b.pieces = start.board.pieces;
    field.velocityX = start.velocityX;
    field.velocityY = start.velocityY;
    field.ox = start.ox;
    field.oy = start.oy;
    b.pointer.visible = false;
}

namespace {

// Silent, but with the real clock: the replay's speed calibration measures
// the same machine the shot ran on.
class ClockOnlyPlatform : public SilentPlatform {
public:
    explicit ClockOnlyPlatform(Platform& clockSource) : clockSource_(clockSource) {}
    double clock() override { return clockSource_.clock(); }

private:
    Platform& clockSource_;
};

}  // namespace

struct ReplayRun::Copy {
    Copy(const LastShot& shot, Platform& clockSource, StepPace& pace)
        : g(shot.startState), field(shot.startField), ui(clockSource), run(GameContext{g, field, ui}, pace, events),
          controls(shot.startControls), changes(shot.changes) {}
    GameState g;
    Field field;
    ClockOnlyPlatform ui;
    ShotEvents events;
    PacedShot run;
    BoardControls controls;
    std::vector<MidShotChange> changes;
    std::size_t nextChange = 0;
    long advances = 0;

    // The changes the shot took before this advance, taken here too.
    void takeChanges() {
        for (; nextChange < changes.size() && changes[nextChange].advance <= advances; ++nextChange) {
            g = changes[nextChange].state;
            field = changes[nextChange].field;
        }
    }
};

ReplayRun::ReplayRun(const LastShot& shot, Platform& clockSource, StepPace& pace)
    : copy_(std::make_unique<Copy>(shot, clockSource, pace)) {}
ReplayRun::~ReplayRun() = default;
ReplayRun::ReplayRun(ReplayRun&&) noexcept = default;
ReplayRun& ReplayRun::operator=(ReplayRun&&) noexcept = default;

bool ReplayRun::done() const { return copy_->run.done(); }
long ReplayRun::wait() const { return copy_->run.wait(); }
void ReplayRun::advance() {
    copy_->takeChanges();
    copy_->run.advance();
    ++copy_->advances;
}
void ReplayRun::finish() {
    while (!done() && copy_->nextChange < copy_->changes.size()) advance();
    copy_->run.finish();
}
const Field& ReplayRun::field() const { return copy_->field; }
const GameState& ReplayRun::state() const { return copy_->g; }
const BoardControls& ReplayRun::controls() const { return copy_->controls; }

}  // namespace capzel
