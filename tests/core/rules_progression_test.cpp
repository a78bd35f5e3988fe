// Target progression: judging the shot of a player who is not a killer.
#include <gtest/gtest.h>

#include "rules/Turns.h"
#include "support/RulesFixture.h"

using namespace capzel;
using Msgs = std::vector<std::string>;

class Progression : public capzel::test::RulesFixture {
protected:
    // Ann (player 1) shoots from Position `from` and her piece rests in
    // region `region` (0: on open field); Bea waits at Position 1.
    void annShot(int from, bool placedByRules, int region, int hits, int sent) {
        newGame(2, {"Ann", "Bea"});
        g.Position[1] = from;
        g.MoveableNextTurn[1] = placedByRules;
        g.TargetLabel(from + 1);  // as her turn start left her phase flags
        if (region) centrePieceOn(piece(1), field.board.Spot[region]);
        if (!region) piece(1).Left = piece(1).Top = 3000;  // open field, in no box
        g.HitCount = hits;
        g.SentCount = sent;
        resetUi();
    }
};

TEST_F(Progression, AchievementsKeepTheTurn) {
    struct Row {
        int from;
        bool placed;
        int region, hits, sent, position, points;
        std::string message;
    };
    const Row rows[] = {
        {4, true, 5, 1, 0, 7, 25,  // Ann's worked example
         "Ann reached target 5. (Target + 1) ... and in ONE SHOT! (Target + 1)\r\n1 HIT! (Target + 1)\r\n"
         "New Location.  Target 7\r\nNew Target: 8"},
        {4, false, 5, 0, 0, 5, 5, "Ann reached target 5. (Target + 1)\r\nNew Location.  Target 5\r\nNew Target: 6"},
        {12, false, 13, 0, 0, 13, 5, "Ann reached target 13. (Target + 1)\r\nNew Location.  Target 13\r\nNew Target: 12"},
        {24, true, 25, 0, 0, 26, 25,  // box 1 on the way back still earns the bonus
         "Ann reached target 1. (Target + 1) ... and in ONE SHOT! (Target + 1)\r\nNew Location.  Target A\r\nNew Target: B"},
        {26, true, 27, 0, 0, 27, 5,  // letters never earn it
         "Ann reached target B. (Target + 1)\r\nNew Location.  Target B\r\nNew Target: C"},
        {6, true, 0, 3, 2, 11, 0,
         "Ann\r\n3 HITS! (Target + 3)\r\nSent 2 players to their target. (Target + 2)\r\n"
         "New Location.  Target 11\r\nNew Target: 12"},
        // A wrong letter box is no fault when the shot touched or sent a piece.
        {4, true, 28, 1, 0, 5, 0, "Ann\r\n1 HIT! (Target + 1)\r\nNew Location.  Target 5\r\nNew Target: 6"},
        {4, true, 28, 0, 1, 5, 0,
         "Ann\r\nSent 1 player to their target. (Target + 1)\r\nNew Location.  Target 5\r\nNew Target: 6"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.message);
        annShot(r.from, r.placed, r.region, r.hits, r.sent);
        End_In_Box(ctx);
        EXPECT_EQ(ui.messages, (Msgs{r.message}));
        EXPECT_EQ(g.Position[1], r.position);
        EXPECT_EQ(g.Score[1], 200 + r.points);
        EXPECT_TRUE(centredOn(1, r.position));
        EXPECT_TRUE(g.MoveableNextTurn[1] && !g.LosingTurn[1]);
        EXPECT_EQ(g.CurrentTurn, 1);
    }
}

TEST_F(Progression, FailuresPassTheTurn) {
    struct Row {
        int from, region;
        float nudgeLeft;  // moves the piece onto the region's left edge when set
        Msgs messages;
        bool losing;
    };
    const Msgs beaStarts{"Bea's turn start.  Target: 2"};
    const Row rows[] = {
        {6, 0, 0, beaStarts, false},
        {4, 5, 1, beaStarts, false},  // on the edge of the target: missed
        {4, 28, 0, {"Ann landed in target C. Ann loses turn.", beaStarts[0]}, true},
        {40, 0, 0, beaStarts, false},  // a next target beyond the course is missed
        {26, 29, 0, {"Ann landed in target D. Ann loses turn.", beaStarts[0]}, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.from);
        annShot(r.from, true, r.region, 0, 0);
        if (r.nudgeLeft) piece(1).Left = field.board.Spot[r.region].Left;
        End_In_Box(ctx);
        EXPECT_EQ(ui.messages, r.messages);
        EXPECT_EQ(g.CurrentTurn, 2);
        EXPECT_EQ(g.Position[1], r.from);
        EXPECT_EQ(g.Score[1], 200);
        EXPECT_FALSE(g.MoveableNextTurn[1]);
        EXPECT_EQ(g.LosingTurn[1], r.losing);
    }
    // Bea passes in turn: Ann, who landed in D, is skipped once.
    resetUi();
    End_In_Box(ctx);
    EXPECT_EQ(ui.messages, (Msgs{"Ann loses Turn", "Bea's turn start.  Target: 2"}));
}

TEST_F(Progression, ReachingOrPassingDMakesAKillerAndWinsAlone) {
    struct Row {
        int players, from, region, hits, position, points;
    };
    const Row rows[] = {{2, 27, 0, 2, 29, 50}, {2, 28, 29, 0, 29, 55}, {2, 26, 0, 5, 31, 50},
                        {2, 29, 0, 1, 30, 50}, {1, 28, 29, 0, 29, 5 + 150}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.from);
        annShot(r.from, true, r.region, r.hits, 0);
        g.NumberOfPlayers = std::int16_t(r.players);
        const GameFlow flow = End_In_Box(ctx);
        Msgs expected{"Ann reached target D and became a killer."};
        if (r.players == 1) expected.push_back("Ann WON!");
        EXPECT_EQ(ui.messages, expected);
        EXPECT_TRUE(g.IsKiller[1] && g.MoveableNextTurn[1]);
        EXPECT_EQ(g.GameRunning, r.players > 1);
        EXPECT_EQ(flow == GameFlow::Ended, r.players == 1);
        EXPECT_EQ(g.Position[1], r.position);
        EXPECT_EQ(g.Score[1], 200 + r.points);
        EXPECT_TRUE(centredOn(1, 29));
        EXPECT_EQ(g.CurrentTurn, 1);
    }
}
