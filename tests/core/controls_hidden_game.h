// A small running game for the tests of the hidden commands: players named
// P1..Pn, every Friction at Normal, the chosen pieces on the board at known
// places, the others in the holder.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "model/GameContext.h"
#include "support/FakePlatform.h"

namespace capzel::test {

struct HiddenGame {
    modCapzel g;
    Field field;
    FakePlatform ui;
    GameContext ctx{g, field, ui};

    HiddenGame() = default;  // before the first game of the run

    HiddenGame(int players, std::initializer_list<int> onBoard) {
        g.NumberOfPlayers = std::int16_t(players);
        g.CurrentTurn = 1;
        g.GameRunning = true;
        g.recreatePerGameTables();
        for (int i = 1; i <= kMaxPlayers; ++i) {
            g.PlayerName[i] = std::string("P").append(std::to_string(i));
            g.Friction[i] = 98.0f;
            field.VelocityX[i] = 0.5f;
            field.VelocityY[i] = -0.5f;
        }
        for (int i : onBoard) {
            g.InGame[i] = true;
            g.Position[i] = 3;
            field.board.Player[i].Left = float(2000 + 400 * i);
            field.board.Player[i].Top = 6000;
        }
    }

    void answer(std::initializer_list<const char*> answers) {
        for (const char* a : answers) ui.inputAnswers.emplace_back(a);
    }
};

// Everything the hidden commands may write, for "nothing changed" checks.
struct Snapshot {
    modCapzel g;
    std::array<Box, kMaxPlayers + 1> pieces;
    std::array<float, kMaxPlayers + 1> vx, vy;
    bool quince, guide;

    explicit Snapshot(const HiddenGame& t)
        : g(t.g), pieces(t.field.board.Player), vx(t.field.VelocityX), vy(t.field.VelocityY),
          quince(t.field.mnuQuinceVisible), guide(t.field.mnuGuideVisible) {}
};

inline bool sameBox(const Box& a, const Box& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Width == b.Width && a.Height == b.Height && a.Z == b.Z;
}

// True when nothing the commands can write differs from the snapshot.
inline ::testing::AssertionResult unchanged(const Snapshot& s, const HiddenGame& t) {
    const modCapzel& a = s.g;
    const modCapzel& b = t.g;
    if (a.NumberOfPlayers != b.NumberOfPlayers || a.CurrentTurn != b.CurrentTurn ||
        a.PerGameTablesExist != b.PerGameTablesExist)
        return ::testing::AssertionFailure() << "game-wide values changed";
    for (int i = 0; i <= kMaxPlayers; ++i) {
        if (a.InGame[i] != b.InGame[i] || a.MoveableNextTurn[i] != b.MoveableNextTurn[i] ||
            a.Position[i] != b.Position[i] || a.LosingTurn[i] != b.LosingTurn[i] || a.Dead[i] != b.Dead[i])
            return ::testing::AssertionFailure() << "per-game entry " << i << " changed";
        if (!(a.Friction[i] == b.Friction[i]))
            return ::testing::AssertionFailure() << "Friction " << i << " changed to " << b.Friction[i];
        if (!(s.vx[i] == t.field.VelocityX[i]) || !(s.vy[i] == t.field.VelocityY[i]))
            return ::testing::AssertionFailure() << "velocity " << i << " changed";
        if (!sameBox(s.pieces[i], t.field.board.Player[i]))
            return ::testing::AssertionFailure() << "piece " << i << " moved";
    }
    if (s.quince != t.field.mnuQuinceVisible || s.guide != t.field.mnuGuideVisible)
        return ::testing::AssertionFailure() << "menu visibility changed";
    if (!t.ui.messages.empty()) return ::testing::AssertionFailure() << "a message was shown";
    return ::testing::AssertionSuccess();
}

}  // namespace capzel::test
