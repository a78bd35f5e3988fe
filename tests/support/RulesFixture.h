// A running game on a fresh field with a scripted platform, for the tests of
// the turn rules. The shot engine is not run: tests place the pieces and set
// the per-shot counters themselves.
#pragma once

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "model/GameContext.h"
#include "model/Placement.h"
#include "support/FakePlatform.h"

namespace capzel::test {

class RulesFixture : public ::testing::Test {
protected:
    modCapzel g;
    Field field;
    FakePlatform ui;
    GameContext ctx{g, field, ui};

    // A rule that keeps announcing turns fails the test instead of hanging it.
    RulesFixture() {
        ui.onMessage = [this](const std::string&) {
            if (ui.messages.size() > 100) throw std::runtime_error("endless run of messages");
        };
    }
    void resetUi() {
        ui.messages.clear();
    }

    // n players named from `names` or "P1", "P2", ..., scores 200, 210, ...,
    // every piece entered (Position 1); player 1 to shoot.
    void newGame(int n, std::vector<std::string> names = {}) {
        g.NumberOfPlayers = std::int16_t(n);
        g.recreatePerGameTables();
        for (int i = 1; i <= n; ++i) {
            g.PlayerName[i] = i <= int(names.size()) ? names[i - 1] : defaultName(i);
            g.Score[i] = 200 + (i - 1) * 10;
            g.Position[i] = 1;
        }
        g.CurrentTurn = 1;
        g.GameRunning = true;
    }
    static std::string defaultName(int i) { return std::string{'P', char('0' + i % 10)}; }

    Box& piece(int i) { return field.board.Player[i]; }
    bool centredOn(int i, int k) {
        Box expected = piece(i);
        centrePieceOn(expected, field.board.Spot[k]);
        return piece(i).Left == expected.Left && piece(i).Top == expected.Top;
    }
};

}  // namespace capzel::test
