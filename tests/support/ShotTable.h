// A game on the laid-out board for the engine tests.
#pragma once


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
    ShotResult shoot(float x1, float y1, float x2, float y2, int power) {
        field.board.pointer = {x1, y1, x2, y2};
        g.power = std::int16_t(power);
        return playShot(ctx, ui);
    }
};

}  // namespace capzel::test
