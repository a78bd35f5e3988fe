// Turn start and end of game: turn order, newcomers, lost turns, killers,
// and a safe stop when nobody is left alive.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "rules/Turns.h"
#include "support/RulesFixture.h"

using namespace capzel;
using Msgs = std::vector<std::string>;
using TurnStart = capzel::test::RulesFixture;

TEST_F(TurnStart, OrderSkipsTheDeadAndTheLostTurnsAndWraps) {
    struct Row {
        int players, turn;  // turn: the number passed (and stored in CurrentTurn)
        std::set<int> dead, losing, killers;
        Msgs messages;
        int expected;
    };
    const Row rows[] = {
        {3, 2, {2}, {}, {}, {"P3's turn start.  Target: 2"}, 3},
        {3, 4, {}, {}, {}, {"P1's turn start.  Target: 2"}, 1},
        {4, 4, {4, 1}, {}, {}, {"P2's turn start.  Target: 2"}, 2},
        {2, -7, {}, {}, {}, {"P1's turn start.  Target: 2"}, 1},
        {12, 9, {}, {}, {}, {"P1's turn start.  Target: 2"}, 1},  // more players claimed than the tables hold
        {3, 1, {}, {1, 2}, {}, {"P1 loses Turn", "P2 loses Turn", "P3's turn start.  Target: 2"}, 3},
        {4, 2, {3}, {1, 2, 3, 4}, {}, {"P2 loses Turn", "P4 loses Turn", "P1 loses Turn", "P2's turn start.  Target: 2"}, 2},
        {2, 1, {}, {1}, {1}, {"P1's turn start.  KILLER"}, 1},  // a killer plays and keeps the flag
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.players << " players, turn " << r.turn);
        newGame(std::min(r.players, 8));
        g.NumberOfPlayers = std::int16_t(r.players);
        resetUi();
        for (int i : r.dead) g.Dead[i] = true;
        for (int i : r.losing) g.LosingTurn[i] = true;
        for (int i : r.killers) g.IsKiller[i] = true;
        g.CurrentTurn = std::int16_t(r.turn);
        Start_Turn(ctx, std::int16_t(r.turn));
        EXPECT_EQ(ui.messages, r.messages);
        EXPECT_EQ(g.CurrentTurn, r.expected);
        for (int i : r.losing) EXPECT_EQ(g.LosingTurn[i], g.Dead[i] || g.IsKiller[i]) << "player " << i;
    }
}

TEST_F(TurnStart, NewcomerEntersOnBoxOneAndTheHolderShowsWhileSomeoneWaits) {
    newGame(3, {"Ann", "Bea", "Cy"});
    for (int i = 1; i <= 3; ++i) g.Position[i] = 0;
    g.InGame.fill(false);
    g.LosingTurn[2] = true;  // entering comes before losing the turn

    Start_Turn(ctx, 1);
    EXPECT_EQ(g.Position[1], 1);
    EXPECT_TRUE(g.InGame[1] && g.MoveableNextTurn[1]);
    EXPECT_EQ(piece(1).Left, 1430.0f);  // box 1: 1000 square at (1080, 7920)
    EXPECT_EQ(piece(1).Top, 8270.0f);
    EXPECT_TRUE(field.board.PieceHolder.Visible);
    EXPECT_GT(field.board.Player[1].Z, field.board.Player[2].Z);
    EXPECT_GT(field.board.Pointer.Z, field.board.Player[1].Z);

    g.CurrentTurn = 2;
    Start_Turn(ctx, 2);  // Bea enters and loses the turn, Cy enters
    EXPECT_TRUE(g.InGame[2] && g.InGame[3]);
    EXPECT_TRUE(centredOn(2, 1));
    EXPECT_FALSE(field.board.PieceHolder.Visible);
    EXPECT_EQ(ui.messages, (Msgs{"Ann's turn start.  Target: 2", "Bea loses Turn", "Cy's turn start.  Target: 2"}));
}

TEST_F(TurnStart, NobodyAliveEndsTheGameQuietly) {
    const std::pair<int, std::set<int>> rows[] = {{3, {1, 2, 3}}, {1, {1}}, {0, {}}};
    for (const auto& [players, dead] : rows) {
        SCOPED_TRACE(players);
        newGame(players);
        resetUi();
        for (int d : dead) g.Dead[d] = g.LosingTurn[d] = true;
        EXPECT_EQ(Start_Turn(ctx, 1), GameFlow::Ended);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_FALSE(g.GameRunning);
    }
}
