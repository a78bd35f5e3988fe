// A game on the laid-out board for the engine and turn tests.
#pragma once

#include "model/Command.h"
#include "model/GameSetup.h"
#include "rules/ShotInPlay.h"
#include "support/FakePlatform.h"

namespace capzel::test {

struct ShotTable : GameFixture {
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
        if (players > 0) buildGame(g, setup);
        g.gameRunning = true;  // a game of nobody, too
        g.numberOfPlayers = std::int16_t(players);
    }
    Box& piece(int i) { return g.piece(i); }
    void place(int i, float left, float top) { piece(i).left = left, piece(i).top = top; }
    // The shot of the player whose turn it is, from (x2, y2) towards (x1, y1).
    ShotCommand shot(float x1, float y1, float x2, float y2, int strength) const {
        return {g.currentTurn, x1, y1, x2, y2, std::int16_t(strength), {}, {}};
    }
    // Plays the shot until its pieces rest, unjudged.
    ShotResult play(const ShotCommand& s, ShotEvents* events = nullptr) {
        ShotInPlay inPlay(g, s);
        while (!inPlay.resting()) inPlay.advance();
        if (events) *events = inPlay.events();
        return inPlay.result();
    }
};

}  // namespace capzel::test
