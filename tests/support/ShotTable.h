// A game on the laid-out board for the engine tests: a scripted platform,
// pieces placed by hand, and a shot fired in one call.
#pragma once

#include <string>

#include "engine/Shot.h"
#include "model/GameContext.h"
#include "support/FakePlatform.h"
#include "support/PlayShot.h"
#include "support/RunDriver.h"

namespace capzel::test {

struct ShotTable {
    GameState g;
    Field field;
    FakePlatform ui;
    GameContext ctx{g, field, ui};

    explicit ShotTable(int players, int shooter = 1) {
        g.numberOfPlayers = std::int16_t(players);
        g.recreatePerGameTables();
        g.currentTurn = std::int16_t(shooter);
        g.gameRunning = true;
        for (int i = 1; i <= players; ++i) {
            g.friction[i] = 98;
            g.position[i] = 3;
            g.inGame[i] = true;
        }
    }
    Box& piece(int i) { return field.board.pieces[i]; }
    void place(int i, float left, float top) {
        piece(i).left = left;
        piece(i).top = top;
    }
    // Aims the shooter's piece from (x2, y2) towards (x1, y1) with a strength.
    ShotResult shoot(float x1, float y1, float x2, float y2, int power, long maxCycles = -1) {
        field.board.pointer = {x1, y1, x2, y2};
        g.power = std::int16_t(power);
        ShotOptions options;
        options.maxCycles = maxCycles;
        return playShot(ctx, ui, options);
    }
    // Fires a shot with no strength and gives pieces their velocities during
    // the calibration's wait, as a command run in the middle of a shot would.
    template <class SetVelocities>
    ShotResult shootWith(SetVelocities set, long maxCycles = -1) {
        bool first = true;
        ui.onYield = [&] {
            if (first) set(field);
            first = false;
        };
        ShotResult r = shoot(5000, 5000, 5000, 5000, 0, maxCycles);
        ui.onYield = nullptr;
        return r;
    }
};

}  // namespace capzel::test
