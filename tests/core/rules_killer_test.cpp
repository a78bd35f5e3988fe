// Killer rules: judging the shot of a killer.
#include <gtest/gtest.h>

#include <set>

#include "rules/Turns.h"
#include "support/RulesFixture.h"

using namespace capzel;
using Msgs = std::vector<std::string>;

class Killer : public capzel::test::RulesFixture {
protected:
    // Bea (player 2) is a killer shooting among three players; her piece
    // rests at (left, top) after a shot with the given counts.
    void beaShot(float left, float top, int hits, int kills, std::set<int> dead) {
        newGame(3, {"Ann", "Bea", "Cy"});
        g.IsKiller[2] = true;
        g.Position[2] = 29;
        g.CurrentTurn = 2;
        for (int d : dead) g.Dead[d] = true;
        piece(2).Left = left;
        piece(2).Top = top;
        g.HitCount = hits;
        g.KillCount = kills;
        resetUi();
    }
};

constexpr float kOpen = 3000;  // on open field, inside no box

TEST_F(Killer, KeepsTheTurnOrWins) {
    struct Row {
        float left, top;
        int hits, kills;
        std::set<int> dead;
        std::string message;
        int box;  // 0: the piece rests outside every box
        bool won;
    };
    const Row rows[] = {
        {5197.5f, 4522.5f, 2, 1, {1}, "Bea reached box 13.  1 kill on the way.  Killer may continue.", 13, false},
        {5197.5f, 4522.5f, 0, 0, {}, "Bea reached box 13.  Killer may continue.", 13, false},
        {5682.5f, 802.5f, 3, 2, {}, "Bea reached box 7.  2 kills on the way.  Killer may continue.", 7, false},
        {1430, 8270, 0, 0, {}, "Bea reached box 1.  Killer may continue.", 1, false},  // never 25
        {9284, 5000, 0, 0, {}, "Bea reached box 11.  Killer may continue.", 15, false},  // in 15, not in 11
        {9000, 8624, 0, 0, {}, "Bea reached box 4.  Killer may continue.", 22, false},   // in 22, not in 4
        {5197.5f, 5340, 0, 0, {}, "Bea reached box C.  Killer may continue.", 28, false},
        {5197.5f, 4522.5f, 1, 1, {1, 3}, "Bea reached box 13.  1 kill on the way.  \r\nBea WON!", 13, true},
        {kOpen, kOpen, 2, 1, {1}, "Bea killed 1.  Killer may continue.", 0, false},
        {kOpen, kOpen, 2, 2, {}, "Bea killed 2.  Killer may continue.", 0, false},
        {kOpen, kOpen, 1, 1, {1, 3}, "Bea killed 1 player. Bea WON!", 0, true},
        {kOpen, kOpen, 2, 2, {1, 3}, "Bea killed 2 players. Bea WON!", 0, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.message);
        beaShot(r.left, r.top, r.hits, r.kills, r.dead);
        g.Position[3] = 0;  // Cy still waits in the holder: alive unless killed
        const GameFlow flow = End_In_Box__KILLER(ctx);
        EXPECT_EQ(ui.messages, (Msgs{r.message}));
        EXPECT_EQ(g.CurrentTurn, 2);
        EXPECT_EQ(g.GameRunning, !r.won);
        EXPECT_EQ(flow == GameFlow::Ended, r.won);
        EXPECT_EQ(g.Position[2], r.box ? r.box : 29);
        const bool moved = r.box && !r.won;
        EXPECT_EQ(g.MoveableNextTurn[2], moved);
        EXPECT_TRUE(moved ? centredOn(2, r.box) : piece(2).Left == r.left);
    }
}

TEST_F(Killer, ShotThatTouchesNothingOutsideEveryBoxPassesTheTurn) {
    struct Row {
        float top;  // 4170: on the top edge of box 13, in no box
        std::set<int> dead;
        Msgs messages;
        int next;
    };
    const Row rows[] = {
        {kOpen, {1}, {"Cy's turn start.  Target: 2"}, 3},
        {4170, {}, {"Cy's turn start.  Target: 2"}, 3},
        {kOpen, {1, 3}, {"Bea's turn start.  KILLER"}, 2},  // the others killed by hand
        {kOpen, {1, 2, 3}, {}, 3},                          // nobody alive: the game ends quietly
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.top);
        beaShot(5197.5f, r.top, 0, 0, r.dead);
        g.MoveableNextTurn[2] = true;
        End_In_Box__KILLER(ctx);
        EXPECT_EQ(ui.messages, r.messages);
        EXPECT_EQ(g.CurrentTurn, r.next);
        EXPECT_FALSE(g.MoveableNextTurn[2]);
        EXPECT_EQ(g.GameRunning, !r.messages.empty());
    }
}
