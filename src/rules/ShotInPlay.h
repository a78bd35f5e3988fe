// A shot from its launch to its judging, advanced by whoever drives it: the
// window's clock one piece-step at a time, or `apply` straight through. Both
// take the same advances, so a shot shown on screen ends exactly where the
// same shot applied whole ends.
//
// Hidden commands may come between two advances: those the shot carries
// (a record's) run before the advance they were recorded at, and a live one
// runs at once (runCommand); the caller keeps it with the advance it came at.
#pragma once

#include <cstddef>
#include <memory>

#include "model/Command.h"
#include "engine/ShotRun.h"
#include "model/Game.h"
#include "rules/Outcome.h"

namespace capzel {

// Cycles of the engine's main loop a shot may take before its pieces are
// stopped where they are and the board settled (a friction of 100 set by
// hand, or sent by a hostile server, keeps pieces moving for ever): far more
// than any shot of a real game takes, which rests within a few thousand.
// The engine counts them, so a shot stepped on screen and the same shot
// applied whole stop at the same step.
inline constexpr long kMaxShotCycles = 1'000'000;

// The shot's inputs put on the game as the player left them at the launch:
// the piece placed by hand, the aim line (hidden once the shot goes), and the
// shot under way. The one place a shot's inputs reach a game.
void putShotInputs(Game& g, const ShotCommand& shot);

class ShotInPlay {
public:
    // Puts the shot's inputs on the game (a placement by hand, the aim
    // line) and launches it. The command must be one `validate` took.
    ShotInPlay(Game& game, ShotCommand shot);
    ~ShotInPlay();
    ShotInPlay(ShotInPlay&&) noexcept;
    ShotInPlay& operator=(ShotInPlay&&) = delete;

    // True once the pieces rest (or were stopped at kMaxShotCycles): judge()
    // is next.
    bool resting() const;
    // Runs the shot's own commands due at this advance, then takes the
    // engine's next advance (the first finds the first step).
    void advance();
    // Advances counted from the launch.
    long advances() const { return advances_; }
    // The piece whose step is due next (0 when none).
    int nextPiece() const;
    // What the shot reported so far, and the engine's count of its cycles
    // and steps.
    const ShotEvents& events() const;
    const ShotResult& result() const;
    // The shot as launched, with the commands it carries.
    const ShotCommand& command() const { return shot_; }
    // Commands the shot carries that have not run yet: once resting, any
    // left came after the shot's end and never ran.
    std::size_t commandsLeft() const { return shot_.midShot.size() - nextCommand_; }

    // A hidden command that comes now, between two advances.
    Judgement runCommand(const HiddenCommand& command);

    // The rules judge the shot (resting() must be true).
    Outcome judge();

    // Advances until resting, then judges.
    Outcome finish();

private:
    struct Run;
    Game& game_;
    ShotCommand shot_;
    std::unique_ptr<Run> run_;
    long advances_ = 0;
    std::size_t nextCommand_ = 0;
};

}  // namespace capzel
