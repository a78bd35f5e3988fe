// A game on the laid-out board for the engine tests.
#pragma once

#include "engine/Shot.h"
#include "model/GameContext.h"
#include "model/GameSetup.h"
#include "support/FakePlatform.h"
#include "support/RunDriver.h"

namespace capzel::test {

struct ShotTable : Game {

    // Every piece stands where the layout puts it, on its way to target 4.
    explicit ShotTable(int players, int shooter = 1) {
        GameSetup setup;
        setup.currentTurn = std::int16_t(shooter);
        for (int i = 1; i <= players; ++i) {
            SeatSetup seat;
            seat.position = 3;
            seat.inGame = true;
            seat.piece = PiecePlace{piece(i).left, piece(i).top};
            setup.seats.push_back(seat);
        }
        if (players > 0) buildGame(ctx, setup);
        g.gameRunning = true;  // a game of nobody, too
        g.numberOfPlayers = std::int16_t(players);
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
