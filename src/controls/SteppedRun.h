// Something the main window's clock drives step by step: the turn's charge
// and shot, or a computer's whole turn. Whoever drives it asks how long to
// wait, waits, and advances, until it no longer runs.
#pragma once

#include "rules/GameFlow.h"

namespace capzel {

class SteppedRun {
public:
    virtual ~SteppedRun() = default;

    // True while there is something left to advance.
    virtual bool running() const = 0;

    // Yields to wait before the next advance.
    virtual long wait() const = 0;

    // Does the next step. Tells whether the game ended in it: the caller
    // then shows the high scores.
    virtual GameFlow advance() = 0;

    // True while a shot (or a replay of one) is what advances: only those
    // may be run fast; the power bar and a computer's gestures keep their pace.
    virtual bool shotUnderWay() const { return false; }
};

}  // namespace capzel
