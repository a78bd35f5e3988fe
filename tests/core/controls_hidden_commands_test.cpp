// The six hidden commands: their questions, what each answer table changes,
// and what it refuses.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "controls/HiddenMenu.h"
#include "controls_hidden_game.h"

using namespace capzel;
using capzel::test::HiddenGame;
using capzel::test::Snapshot;
using capzel::test::unchanged;

namespace {

const std::vector<std::string> kWhoWhat = {"Who? (# or all)", "What? (% retained)"};
const std::vector<std::string> kSpeedQuestions = {"Who? (# or all)", "X?", "Y?"};
const std::vector<std::string> kPieceQuestions = {"Who? (# or all)", "Where?", "Moveable? (0=false, 1=true)",
                                                  "Change Position? (0=false, 1=true)"};
const std::vector<std::string> kPositionQuestions = {"Who? (# only)", "Where?"};

}  // namespace

// ---- Set Friction ---------------------------------------------------------

TEST(SetFriction, AnswerTable) {
    struct Row {
        const char* who;
        const char* what;
        std::array<float, 6> friction;  // players 1..5 afterwards (index 0 unused)
    };
    // Four players; pieces 1 and 3 on the board, 2 and 4 in the holder.
    const Row rows[] = {
        {"all", "97.5", {0, 97.5f, 98, 97.5f, 98, 98}},
        {"ALL", "96.5", {0, 96.5f, 98, 96.5f, 98, 98}},
        {"2", "96.5", {0, 98, 96.5f, 98, 98, 98}},
        {"2 please", "99 percent", {0, 98, 99, 98, 98, 98}},
        {"2.5", "97", {0, 98, 97, 98, 98, 98}},     // halves to even: player 2
        {"3.5", "97", {0, 98, 98, 98, 97, 98}},     // halves to even: player 4
        {"2", "0.001", {0, 98, 0.001f, 98, 98, 98}},
        {"2", "0", {0, 98, 98, 98, 98, 98}},
        {"2", "abc", {0, 98, 98, 98, 98, 98}},
        {"2", "-5", {0, 98, 98, 98, 98, 98}},
        {"2", "", {0, 98, 98, 98, 98, 98}},
        {"", "97", {0, 98, 98, 98, 98, 98}},
        {"x2", "97", {0, 98, 98, 98, 98, 98}},
        {"-1", "97", {0, 98, 98, 98, 98, 98}},
        {"0.4", "97", {0, 98, 98, 98, 98, 98}},     // acceptable, but names no player
        {"5", "97", {0, 98, 98, 98, 98, 98}},       // not in this game
        {"9", "97", {0, 98, 98, 98, 98, 98}},
        {"2", "150", {0, 98, 100, 98, 98, 98}},     // at most 100 % is kept
        {"all", "1e400", {0, 100, 98, 100, 98, 98}},
        {"2", "100.0000001", {0, 98, 100, 98, 98, 98}},
        {"2", "1e-400", {0, 98, 98, 98, 98, 98}},   // reads as 0
    };
    for (const Row& r : rows) {
        HiddenGame t(4, {1, 3});
        t.answer({r.who, r.what});
        mnuSetFrict_Click(t.ctx);
        EXPECT_EQ(t.ui.questions, kWhoWhat);
        for (int i = 1; i <= 5; ++i)
            EXPECT_EQ(t.g.Friction[i], r.friction[i]) << r.who << " / " << r.what << ": player " << i;
        EXPECT_TRUE(t.ui.messages.empty());
    }
}

// ---- Set Speed ------------------------------------------------------------

TEST(SetSpeed, AnswerTable) {
    struct V {
        float x, y;
    };
    struct Row {
        const char* who;
        const char* x;
        const char* y;
        std::array<V, 5> v;  // players 1..4 afterwards
    };
    constexpr V k0{0.5f, -0.5f};  // as the fixture leaves them
    // Four players; pieces 1 and 2 on the board, 3 and 4 in the holder.
    const Row rows[] = {
        {"1", " 12 ", "-3", {k0, {12, -3}, k0, k0, k0}},
        {"1", "12", "", {k0, k0, k0, k0, k0}},
        {"all", "5", "6.5", {k0, {5, 6.5f}, {5, 6.5f}, k0, k0}},
        {"All", "-2e1", "+.5", {k0, {-20, 0.5f}, {-20, 0.5f}, k0, k0}},
        {"2", "0", "0", {k0, k0, {0, 0}, k0, k0}},
        {"2.5", "1", "2", {k0, k0, {1, 2}, k0, k0}},
        {"3", "5", "6", {k0, k0, k0, k0, k0}},         // piece 3 waits in the holder
        {"1", "12abc", "1", {k0, k0, k0, k0, k0}},
        {"1", "1", "1 2", {k0, k0, k0, k0, k0}},
        {"abc", "1", "1", {k0, k0, k0, k0, k0}},
        {"0", "1", "1", {k0, k0, k0, k0, k0}},
        {"5", "1", "1", {k0, k0, k0, k0, k0}},
        {"9", "1", "1", {k0, k0, k0, k0, k0}},
        {"1", "1e300", "-1e300", {k0, {10000, -10000}, k0, k0, k0}},
        {"1", "10000.5", "-9999.5", {k0, {10000, -9999.5f}, k0, k0, k0}},
        {"1", "1e400", "0", {k0, k0, k0, k0, k0}},
        {"all", "0", "-1e400", {k0, k0, k0, k0, k0}},
    };
    for (const Row& r : rows) {
        HiddenGame t(4, {1, 2});
        t.answer({r.who, r.x, r.y});
        mnuSetSpeed_Click(t.ctx);
        EXPECT_EQ(t.ui.questions, kSpeedQuestions);
        for (int i = 1; i <= 4; ++i) {
            EXPECT_EQ(t.field.VelocityX[i], r.v[i].x) << r.who << " / " << r.x << " / " << r.y << ": player " << i;
            EXPECT_EQ(t.field.VelocityY[i], r.v[i].y) << r.who << " / " << r.x << " / " << r.y << ": player " << i;
        }
    }
}

// ---- Set Piece ------------------------------------------------------------

TEST(SetPiece, AllFiveOneZeroSetsEveryPieceOnTheBoardWithoutMovingIt) {
    HiddenGame t(4, {1, 2, 4});
    t.answer({"ALL", "5", "1", "0"});
    const Snapshot before(t);
    mnuSetPiece_Click(t.ctx);
    EXPECT_EQ(t.ui.questions, kPieceQuestions);
    for (int i : {1, 2, 4}) {
        EXPECT_EQ(t.g.Position[i], 5) << i;
        EXPECT_TRUE(t.g.MoveableNextTurn[i]) << i;
        EXPECT_TRUE(test::sameBox(t.field.board.Player[i], before.pieces[i])) << i;
    }
    EXPECT_EQ(t.g.Position[3], 0);
    EXPECT_FALSE(t.g.MoveableNextTurn[3]);
}

TEST(SetPiece, AllWithChangeStacksThePiecesOnOneSpot) {
    HiddenGame t(4, {1, 2, 4});
    t.answer({"all", "26", "0", "1"});
    const Box holder3 = t.field.board.Player[3];
    mnuSetPiece_Click(t.ctx);
    for (int i : {1, 2, 4}) {
        EXPECT_EQ(t.field.board.Player[i].Left, 5197.5f) << i;  // centred on A
        EXPECT_EQ(t.field.board.Player[i].Top, 3705.0f) << i;
        EXPECT_EQ(t.g.Position[i], 26) << i;
        EXPECT_FALSE(t.g.MoveableNextTurn[i]) << i;
    }
    EXPECT_TRUE(test::sameBox(t.field.board.Player[3], holder3));
}

TEST(SetPiece, AnswerTable) {
    struct Row {
        const char* who;
        const char* where;
        const char* moveable;
        const char* change;
        bool applies;  // player 2 is set
        int position;
        bool moveableAfter;
        bool moved;
    };
    // Player 2 on the board at Position 3, not moveable.
    const Row rows[] = {
        {"2", "7", "0", "1", true, 7, false, true},
        {"2", "7", "1", "0", true, 7, true, false},
        {"2", "7", "1.0", "1 ", true, 7, true, true},
        {"2", "7", " 1", "1st", true, 7, true, true},
        {"2", "7", "2", "0.9", true, 7, false, false},
        {"2", "7", "", "", true, 7, false, false},
        {"2", "7", "yes", "true", true, 7, false, false},
        {"2", "28.5", "0", "0", true, 28, false, false},
        {"2", "29", "0", "0", true, 29, false, false},
        {"2", "0", "1", "1", false, 3, false, false},
        {"2", "-7", "1", "1", false, 3, false, false},
        {"2", "abc", "1", "1", false, 3, false, false},
        {"2", "0.4", "1", "1", false, 3, false, false},  // acceptable, but no such target
        {"2", "29.5", "1", "1", false, 3, false, false},
        {"2", "30", "1", "1", false, 3, false, false},
        {"2", "1e400", "1", "1", false, 3, false, false},
        {"x", "7", "1", "1", false, 3, false, false},
        {"", "7", "1", "1", false, 3, false, false},
        {"9", "7", "1", "1", false, 3, false, false},
    };
    for (const Row& r : rows) {
        HiddenGame t(4, {1, 2, 4});
        t.answer({r.who, r.where, r.moveable, r.change});
        const Box before = t.field.board.Player[2];
        mnuSetPiece_Click(t.ctx);
        const std::string label = std::string(r.who) + " / " + r.where + " / " + r.moveable + " / " + r.change;
        EXPECT_EQ(t.ui.questions, kPieceQuestions) << label;
        EXPECT_EQ(t.g.Position[2], r.position) << label;
        EXPECT_EQ(t.g.MoveableNextTurn[2], r.moveableAfter) << label;
        const Box& after = t.field.board.Player[2];
        if (r.moved) {
            EXPECT_EQ(after.Left, 5682.5f) << label;  // centred on box 7
            EXPECT_EQ(after.Top, 802.5f) << label;
        } else {
            EXPECT_TRUE(test::sameBox(after, before)) << label;
        }
        if (!r.applies) {
            EXPECT_TRUE(unchanged(Snapshot(HiddenGame(4, {1, 2, 4})), t)) << label;
        }
    }
}

TEST(SetPiece, OnePieceInTheHolderIsSetToo) {
    HiddenGame t(4, {1});
    t.answer({"3", "5", "1", "1"});
    mnuSetPiece_Click(t.ctx);
    EXPECT_EQ(t.g.Position[3], 5);
    EXPECT_TRUE(t.g.MoveableNextTurn[3]);
    EXPECT_EQ(t.field.board.Player[3].Left, 4687.5f);  // centred on box 5
    EXPECT_EQ(t.field.board.Player[3].Top, 802.5f);
    EXPECT_FALSE(t.g.InGame[3]);
}

// ---- Set Ingame -----------------------------------------------------------

TEST(SetIngame, OnePlayerEntersBoxOneAndKeepsPosition) {
    HiddenGame t(4, {1});
    t.g.Position[3] = 7;
    t.answer({"3"});
    mnuSetIngame_Click(t.ctx);
    EXPECT_EQ(t.ui.questions, std::vector<std::string>{"Who? (# or all)"});
    EXPECT_TRUE(t.g.InGame[3]);
    EXPECT_EQ(t.g.Position[3], 7);
    EXPECT_EQ(t.field.board.Player[3].Left, 1430.0f);
    EXPECT_EQ(t.field.board.Player[3].Top, 8270.0f);
    EXPECT_FALSE(t.g.InGame[2]);
    EXPECT_FALSE(t.g.InGame[4]);
}

TEST(SetIngame, CentresWithTheSizeOfPieceOne) {
    // Should a piece ever differ in size, the entry uses piece 1's.
    HiddenGame t(4, {1});
    t.field.board.Player[1].Width = 400;
    t.field.board.Player[1].Height = 200;
    t.answer({"3"});
    mnuSetIngame_Click(t.ctx);
    EXPECT_EQ(t.field.board.Player[3].Left, 1380.0f);
    EXPECT_EQ(t.field.board.Player[3].Top, 8320.0f);
    EXPECT_EQ(t.field.board.Player[3].Width, 300.0f);
}

TEST(SetIngame, AllBringsInOnlyThePiecesOffTheBoard) {
    HiddenGame t(4, {1, 3});
    t.g.Position[4] = 9;
    t.answer({"all"});
    const Box piece1 = t.field.board.Player[1];
    const Box piece3 = t.field.board.Player[3];
    mnuSetIngame_Click(t.ctx);
    for (int i : {2, 4}) {
        EXPECT_TRUE(t.g.InGame[i]) << i;
        EXPECT_EQ(t.g.Position[i], 1) << i;
        EXPECT_EQ(t.field.board.Player[i].Left, 1430.0f) << i;
        EXPECT_EQ(t.field.board.Player[i].Top, 8270.0f) << i;
    }
    EXPECT_EQ(t.g.Position[1], 3);
    EXPECT_EQ(t.g.Position[3], 3);
    EXPECT_TRUE(test::sameBox(t.field.board.Player[1], piece1));
    EXPECT_TRUE(test::sameBox(t.field.board.Player[3], piece3));
    EXPECT_FALSE(t.g.InGame[5]);
}

TEST(SetIngame, RefusedAnswersChangeNothing) {
    for (const char* who : {"", "0", "-2", "abc", "0.5", "5", "9", "al"}) {
        HiddenGame t(4, {1});
        const Snapshot before(t);
        t.answer({who});
        mnuSetIngame_Click(t.ctx);
        EXPECT_TRUE(unchanged(before, t)) << '"' << who << '"';
    }
}

// ---- Set Position ---------------------------------------------------------

TEST(SetPosition, TwoAndTwentySixCentresOnAAndStartsTheTurn) {
    HiddenGame t(3, {1, 2, 3});
    t.g.CurrentTurn = 2;
    t.answer({"2", "26"});
    mnuSetPos_Click(t.ctx);
    EXPECT_EQ(t.ui.questions, kPositionQuestions);
    EXPECT_EQ(t.g.Position[2], 26);
    EXPECT_TRUE(t.g.MoveableNextTurn[2]);
    EXPECT_EQ(t.field.board.Player[2].Left, 5197.5f);
    EXPECT_EQ(t.field.board.Player[2].Top, 3705.0f);
    // The turn start announces the next target after A and brings the piece
    // to the front with the aim line in front of it.
    ASSERT_EQ(t.ui.messages, std::vector<std::string>{"P2's turn start.  Target: B"});
    EXPECT_GT(t.field.board.Player[2].Z, 0);
    EXPECT_GT(t.field.board.Pointer.Z, t.field.board.Player[2].Z);
}

TEST(SetPosition, AnotherPlayersTurnStartLeavesTheCurrentTurnToTheRules) {
    // The command passes its player to the turn start; whose turn is
    // announced is the turn start's business.
    HiddenGame t(3, {1, 2, 3});
    t.answer({"3", "2.5"});
    mnuSetPos_Click(t.ctx);
    EXPECT_EQ(t.g.Position[3], 2);
    EXPECT_TRUE(t.g.MoveableNextTurn[3]);
    EXPECT_EQ(t.field.board.Player[3].Left, 8932.5f);  // centred on box 2
    EXPECT_EQ(t.field.board.Player[3].Top, 802.5f);
    EXPECT_EQ(t.ui.messages.size(), 1u);
    EXPECT_GT(t.field.board.Player[3].Z, 0);
}

TEST(SetPosition, RefusedAnswersChangeNothing) {
    const std::pair<const char*, const char*> rows[] = {
        {"0", "5"},  {"2", "0"},    {"", ""},     {"all", "5"}, {"2", "abc"}, {"-2", "5"},
        {"2", "-1"}, {"0.4", "5"},  {"2", "0.5"}, {"4", "5"},   {"9", "5"},   {"2", "30"},
        {"2", "1e9"}, {"1e400", "5"}, {"2", "1e400"},
    };
    for (const auto& [who, where] : rows) {
        HiddenGame t(3, {1, 2, 3});
        const Snapshot before(t);
        t.answer({who, where});
        mnuSetPos_Click(t.ctx);
        EXPECT_EQ(t.ui.questions, kPositionQuestions) << who << " / " << where;
        EXPECT_TRUE(unchanged(before, t)) << who << " / " << where;
    }
}

// ---- Set Guidelines -------------------------------------------------------

TEST(SetGuidelines, ShowsTheGuideLinesItemAndAsksNothing) {
    HiddenGame t(2, {1});
    mnuSetGuide_Click(t.ctx);
    EXPECT_TRUE(t.field.mnuGuideVisible);
    EXPECT_FALSE(t.field.mnuGuideChecked);
    EXPECT_TRUE(t.ui.questions.empty());
    for (const Line& l : t.field.board.linGuide) EXPECT_FALSE(l.Visible);
}
