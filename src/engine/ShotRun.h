// A shot played one piece-step at a time. The run is started from the game
// state (the launch happens at once) and then advanced by its driver: the
// first advance finds the first step, every later one takes one piece's
// step and finds the next. The run keeps no time: a window paces it between
// two advances (controls/PacedShot.h), a run with nobody watching advances
// straight through. Commands that run between two advances (the hidden
// speed command, a save) act between two steps, and the next step uses
// whatever they left.
#pragma once

#include <cstdint>

#include "model/GameContext.h"

namespace capzel::engine {
class WallGrid;
}

namespace capzel {

struct ShotOptions {
    long maxCycles = -1;  // stop the main loop after this many cycles (< 0: no limit)
    // Every step tests every wall, edge and piece in full, without the
    // grid that passes over the ones out of reach. The result is the same
    // to the last bit, only slower: the plain passes are the yardstick the
    // tests hold the fast ones to.
    bool plainPasses = false;
    // Where the shot reports what happened (model/ShotEvent.h); none: the
    // shot reports nothing (a search among many shots has no use for it).
    ShotEvents* events = nullptr;
};

struct ShotResult {
    long cycles = 0;          // times the stepping pass of the main loop ran
    long steps = 0;           // piece steps taken, all pieces together
    bool unfinished = false;  // stopped by maxCycles: no settlement ran
};

class ShotRun {
public:
    // Launches the current player's piece away from the second end of the
    // aim line with `strength`, the strength at Go, which the launch curves
    // into the game's launch strength. Without a shooter on the board's list
    // nothing is launched and the run is done at once.
    ShotRun(const GameContext& ctx, std::int16_t strength, const ShotOptions& options = {});

    // True once the board has been settled (or the cycle limit was reached).
    bool done() const { return stage_ == Stage::Done; }

    // Takes one piece's step (none in the first advance after the launch);
    // then finds the next step, or ends the main loop and settles the board.
    void advance();

    // Advances with no waiting until done, as a run with nobody watching.
    void finish();

    // The piece whose step is due next (0 before the first advance and once
    // done).
    int nextPiece() const { return stage_ == Stage::Stepping ? at_.piece : 0; }

    const ShotResult& result() const { return at_.result; }

private:
    enum class Stage { Launched, Stepping, Done };

    // Where the main loop stands.
    struct Cursor {
        int piece = 0;         // the piece stepped last in this cycle, 0 at a cycle's start
        bool anyStep = false;  // a piece has stepped in this cycle
        bool over = false;     // the last cycle left no piece moving
        ShotResult result;
    };
    // What comes after a step: another step, the settlement, or the stop
    // at the cycle limit.
    enum class Next { Step, Settle, Stop };

    // `inGame`: the pieces in the game (engine::inGameMask), read once for a
    // run of steps that nothing else interrupts.
    static Next seekNextStep(const Game& g, long maxCycles, Cursor& at, std::uint32_t inGame);
    // Finds the next step after the one just taken, or ends the run.
    void moveOn();
    void end(Next next);
    // The wall grid for the board as it is now; none for plain passes.
    const engine::WallGrid* grid() const;

    GameContext ctx_;
    ShotOptions options_;
    Cursor at_;
    Stage stage_ = Stage::Done;
};

}  // namespace capzel
