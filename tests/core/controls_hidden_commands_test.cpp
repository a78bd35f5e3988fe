// The six hidden commands: their questions, what each answer table changes,
// what they refuse, and the limits that keep the game safe (nothing outside
// the tables of the running game is written, nothing before the first game,
// and no value is stored that could keep a shot from ending).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <iomanip>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "controls/HiddenMenu.h"
#include "records_fixtures.h"

using namespace capzel;

namespace {

// A small running game: players named P1..Pn, every Friction at Normal, the
// chosen pieces on the board at known places, the others in the holder.
struct HiddenGame : test::Game {
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

    void answer(const std::vector<const char*>& answers) {
        for (const char* a : answers) ui.inputAnswers.emplace_back(a);
    }
};

bool sameBox(const Box& a, const Box& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Width == b.Width && a.Height == b.Height && a.Z == b.Z;
}

// Everything the hidden commands may write, for "nothing changed" checks:
// all that a load may set, and the velocities, the pieces' stacking order,
// the menus and the messages.
std::string everything(const HiddenGame& t) {
    std::ostringstream o;
    o << test::dump(t) << "\nmenus " << t.field.mnuQuinceVisible << t.field.mnuGuideVisible << ", messages "
      << t.ui.messages.size() << std::setprecision(9);
    for (int i = 0; i <= kMaxPlayers; ++i)
        o << "\n" << i << ": v " << t.field.VelocityX[i] << "," << t.field.VelocityY[i] << " z"
          << t.field.board.Player[i].Z;
    return o.str();
}

const std::vector<std::string> kWhoWhat = {"Who? (# or all)", "What? (% retained)"};
const std::vector<std::string> kSpeedQuestions = {"Who? (# or all)", "X?", "Y?"};
const std::vector<std::string> kPieceQuestions = {"Who? (# or all)", "Where?", "Moveable? (0=false, 1=true)",
                                                  "Change Position? (0=false, 1=true)"};
const std::vector<std::string> kPositionQuestions = {"Who? (# only)", "Where?"};

struct Command {
    const char* name;
    GameFlow (*run)(GameContext&);
};

const Command kWritingCommands[] = {
    {"Set Position", mnuSetPos_Click}, {"Set Friction", mnuSetFrict_Click}, {"Set Speed", mnuSetSpeed_Click},
    {"Set Piece", mnuSetPiece_Click},  {"Set Ingame", mnuSetIngame_Click},
};

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
        {"2 please", "99 percent", {0, 98, 99, 98, 98, 98}},
        {"2.5", "97", {0, 98, 97, 98, 98, 98}},     // halves to even: player 2
        {"3.5", "97", {0, 98, 98, 98, 97, 98}},     // halves to even: player 4
        {"2", "0.001", {0, 98, 0.001f, 98, 98, 98}},
        {"2", "100.0000001", {0, 98, 100, 98, 98, 98}},  // at most 100 % is kept
        {"all", "1e400", {0, 100, 98, 100, 98, 98}},
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
    // Four players; pieces 1 and 2 on the board, 3 and 4 in the holder. A
    // piece in the holder is not stepped by a shot: a speed given to it would
    // never wear off, so "all" leaves it alone (and so does its own number,
    // see the refusals below).
    const Row rows[] = {
        {"1", " 12 ", "-3", {k0, {12, -3}, k0, k0, k0}},
        {"all", "5", "6.5", {k0, {5, 6.5f}, {5, 6.5f}, k0, k0}},
        {"All", "-2e1", "+.5", {k0, {-20, 0.5f}, {-20, 0.5f}, k0, k0}},
        {"2", "0", "0", {k0, k0, {0, 0}, k0, k0}},
        {"2.5", "1", "2", {k0, k0, {1, 2}, k0, k0}},
        {"1", "1e300", "-1e300", {k0, {10000, -10000}, k0, k0, k0}},
        {"1", "10000.5", "-9999.5", {k0, {10000, -9999.5f}, k0, k0, k0}},
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

TEST(SetSpeed, DuringAShotActsOnThePiecesAtOnce) {
    // The commands may run in the middle of a shot (during its yields):
    // a new speed is in the tables for the next step.
    HiddenGame t(2, {1, 2});
    t.g.ShotInProgress = true;
    t.answer({"2", "-40", "12.5"});
    mnuSetSpeed_Click(t.ctx);
    EXPECT_EQ(t.field.VelocityX[2], -40.0f);
    EXPECT_EQ(t.field.VelocityY[2], 12.5f);
    EXPECT_TRUE(t.g.ShotInProgress);
}

// ---- Set Piece ------------------------------------------------------------

TEST(SetPiece, AllSetsEveryPieceOnTheBoardAndStacksThemWhenMoved) {
    HiddenGame t(4, {1, 2, 4});
    const auto before = t.field.board.Player;
    t.answer({"ALL", "5", "1", "0"});
    mnuSetPiece_Click(t.ctx);
    EXPECT_EQ(t.ui.questions, kPieceQuestions);
    for (int i : {1, 2, 4}) {
        EXPECT_EQ(t.g.Position[i], 5) << i;
        EXPECT_TRUE(t.g.MoveableNextTurn[i]) << i;
        EXPECT_TRUE(sameBox(t.field.board.Player[i], before[i])) << i;
    }
    // With a change of place the pieces land on one spot, one over the other.
    t.answer({"all", "26", "0", "1"});
    mnuSetPiece_Click(t.ctx);
    for (int i : {1, 2, 4}) {
        EXPECT_EQ(t.field.board.Player[i].Left, 5197.5f) << i;  // centred on A
        EXPECT_EQ(t.field.board.Player[i].Top, 3705.0f) << i;
        EXPECT_EQ(t.g.Position[i], 26) << i;
        EXPECT_FALSE(t.g.MoveableNextTurn[i]) << i;
    }
    // Piece 3 waits in the holder: "all" does not name it.
    EXPECT_EQ(t.g.Position[3], 0);
    EXPECT_FALSE(t.g.MoveableNextTurn[3]);
    EXPECT_TRUE(sameBox(t.field.board.Player[3], before[3]));
}

TEST(SetPiece, AnswerTable) {
    struct Row {
        const char* who;
        const char* where;
        const char* moveable;
        const char* change;
        int position;
        bool moveableAfter;
        bool moved;
    };
    // Player 2 on the board at Position 3, not moveable. Moveable and Change
    // are true only for an answer whose number is 1.
    const Row rows[] = {
        {"2", "7", "0", "1", 7, false, true},
        {"2", "7", "1", "0", 7, true, false},
        {"2", "7", "1.0", "1 ", 7, true, true},
        {"2", "7", " 1", "1st", 7, true, true},
        {"2", "7", "2", "0.9", 7, false, false},
        {"2", "7", "", "", 7, false, false},
        {"2", "7", "yes", "true", 7, false, false},
        {"2", "28.5", "0", "0", 28, false, false},
        {"2", "29", "0", "0", 29, false, false},
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
            EXPECT_TRUE(sameBox(after, before)) << label;
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

TEST(SetIngame, OnePlayerEntersBoxOneWithPieceOnesSizeAndKeepsPosition) {
    // Should a piece ever differ in size, the entry centres with piece 1's.
    HiddenGame t(4, {1});
    t.g.Position[3] = 7;
    t.field.board.Player[1].Width = 400;
    t.field.board.Player[1].Height = 200;
    t.answer({"3"});
    mnuSetIngame_Click(t.ctx);
    EXPECT_EQ(t.ui.questions, std::vector<std::string>{"Who? (# or all)"});
    EXPECT_TRUE(t.g.InGame[3]);
    EXPECT_EQ(t.g.Position[3], 7);
    EXPECT_EQ(t.field.board.Player[3].Left, 1380.0f);
    EXPECT_EQ(t.field.board.Player[3].Top, 8320.0f);
    EXPECT_EQ(t.field.board.Player[3].Width, 300.0f);
    EXPECT_FALSE(t.g.InGame[2]);
    EXPECT_FALSE(t.g.InGame[4]);
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
    EXPECT_TRUE(sameBox(t.field.board.Player[1], piece1));
    EXPECT_TRUE(sameBox(t.field.board.Player[3], piece3));
    EXPECT_FALSE(t.g.InGame[5]);
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

// ---- Set Guidelines -------------------------------------------------------

TEST(SetGuidelines, ShowsTheGuideLinesItemAndAsksNothing) {
    HiddenGame t(2, {1});
    mnuSetGuide_Click(t.ctx);
    EXPECT_TRUE(t.field.mnuGuideVisible);
    EXPECT_FALSE(t.field.mnuGuideChecked);
    EXPECT_TRUE(t.ui.questions.empty());
    for (const Line& l : t.field.board.linGuide) EXPECT_FALSE(l.Visible);
}

// ---- Refusals and safety limits -------------------------------------------

TEST(HiddenCommands, RefusedAnswersChangeNothing) {
    // Each command asks all its questions, then ends without any change and
    // without a message. Players and targets outside the game are the next
    // test's; these are the answers each command refuses on its own terms.
    struct Row {
        GameFlow (*run)(GameContext&);
        std::vector<const char*> answers;
    };
    // Four players; pieces 1 and 2 on the board, 3 and 4 in the holder.
    const Row rows[] = {
        {mnuSetFrict_Click, {"2", "0"}},      {mnuSetFrict_Click, {"2", "-5"}},
        {mnuSetFrict_Click, {"2", ""}},       {mnuSetFrict_Click, {"2", "1e-400"}},  // reads as 0
        {mnuSetFrict_Click, {"", "97"}},      {mnuSetFrict_Click, {"-1", "97"}},
        {mnuSetSpeed_Click, {"1", "12", ""}}, {mnuSetSpeed_Click, {"3", "5", "6"}},  // piece 3 in the holder
        {mnuSetSpeed_Click, {"1", "12abc", "1"}}, {mnuSetSpeed_Click, {"1", "1", "1 2"}},
        {mnuSetSpeed_Click, {"abc", "1", "1"}},   {mnuSetSpeed_Click, {"0", "1", "1"}},
        {mnuSetSpeed_Click, {"1", "1e400", "0"}}, {mnuSetSpeed_Click, {"all", "0", "-1e400"}},
        {mnuSetPiece_Click, {"2", "0", "1", "1"}},    {mnuSetPiece_Click, {"2", "-7", "1", "1"}},
        {mnuSetPiece_Click, {"2", "29.5", "1", "1"}},  // halves to even: 30
        {mnuSetPiece_Click, {"2", "1e400", "1", "1"}}, {mnuSetPiece_Click, {"", "7", "1", "1"}},
        {mnuSetIngame_Click, {""}},    {mnuSetIngame_Click, {"0"}},  {mnuSetIngame_Click, {"-2"}},
        {mnuSetIngame_Click, {"0.5"}}, {mnuSetIngame_Click, {"al"}},
        {mnuSetPos_Click, {"0", "5"}},  {mnuSetPos_Click, {"2", "0"}},    {mnuSetPos_Click, {"", ""}},
        {mnuSetPos_Click, {"all", "5"}}, {mnuSetPos_Click, {"-2", "5"}},  {mnuSetPos_Click, {"2", "-1"}},
        {mnuSetPos_Click, {"2", "0.5"}}, {mnuSetPos_Click, {"2", "1e400"}},
    };
    for (const Row& r : rows) {
        HiddenGame t(4, {1, 2});
        const std::string before = everything(t);
        t.answer(r.answers);
        r.run(t.ctx);
        std::string label;
        for (const char* a : r.answers) label += std::string("\"") + a + "\" ";
        EXPECT_EQ(t.ui.questions.size(), r.answers.size()) << label;
        EXPECT_EQ(everything(t), before) << label;
    }
}

TEST(HiddenCommandSafety, PlayersAndTargetsOutsideTheGameAreIgnored) {
    // Answers that are numbers of a kind, but of no player or no target.
    const std::vector<std::vector<const char*>> outOfRange = {
        {"0.4", "5", "1", "1"},  {"4", "5", "1", "1"},     {"8", "5", "1", "1"},   {"9", "5", "1", "1"},
        {"1e9", "5", "1", "1"},  {"1e400", "5", "1", "1"}, {"2", "30", "1", "1"},  {"2", "0.4", "1", "1"},
        {"2", "1e9", "1", "1"},  {"32768", "5", "1", "1"}, {"65537", "5", "1", "1"},
    };
    // Three players, all on the board: players 4 to 8 have fixed-table
    // entries from earlier games, which must keep their values.
    for (const Command& c : kWritingCommands) {
        for (const auto& answers : outOfRange) {
            HiddenGame t(3, {1, 2, 3});
            const std::string before = everything(t);
            t.answer(answers);
            c.run(t.ctx);
            // Only Set Position and Set Piece ask for a target: for the
            // others an answer naming player 2 is a good one.
            const bool asksTarget = c.run == mnuSetPos_Click || c.run == mnuSetPiece_Click;
            if (asksTarget || std::string(answers[0]) != "2") {
                EXPECT_EQ(everything(t), before) << c.name << " with " << answers[0] << ", " << answers[1];
            }
            for (int i = 4; i <= kMaxPlayers; ++i) {
                EXPECT_EQ(t.g.Friction[i], 98.0f) << c.name;
                EXPECT_EQ(t.field.VelocityX[i], 0.5f) << c.name;
                EXPECT_FALSE(t.g.InGame[i]) << c.name;
                EXPECT_EQ(t.g.Position[i], 0) << c.name;
            }
        }
    }
}

TEST(HiddenCommandSafety, WithoutTheTablesOfAGameNothingIsWritten) {
    // Answers that would be accepted in a running game with these players.
    const std::vector<std::vector<const char*>> plausible = {
        {"1", "5", "1", "1"}, {"all", "5", "1", "1"}, {"2", "26", "1", "1"}, {"8", "2", "1", "1"},
    };
    // Before the first game (0 players), and with a player count but no
    // tables of a game (never made by the game itself, so not trusted).
    for (int players : {0, 3}) {
        for (const Command& c : kWritingCommands) {
            for (const auto& answers : plausible) {
                HiddenGame t;  // the program has just started: no game, no tables
                t.g.NumberOfPlayers = std::int16_t(players);
                const std::string before = everything(t);
                t.answer(answers);
                c.run(t.ctx);
                EXPECT_EQ(everything(t), before) << c.name << " with " << answers[0] << ", " << players;
                EXPECT_FALSE(t.g.PerGameTablesExist);
            }
        }
    }
}

TEST(HiddenCommandSafety, StoredFrictionsAndSpeedsKeepEveryShotFinite) {
    // Whatever is typed, a stored Friction is above 0 and at most 100 (no
    // piece gains speed from one step to the next), and a stored velocity is
    // finite and at most a field's width per step, so friction or the
    // edges' 0.9 bounce always bring it down below a moving speed.
    const char* values[] = {"1e300", "-1e300", "1e400", "-1e400", "1e-400", "nan", "inf", "-inf",
                            "100",   "100.5",  "99.999999999", "3.4e38", "3.5e38", "-0", "1e-45",
                            "0.0000000000000000000000000000000000000000000001"};
    for (const char* v : values) {
        HiddenGame t(2, {1, 2});
        t.answer({"all", v});
        mnuSetFrict_Click(t.ctx);
        for (int i = 1; i <= 2; ++i) {
            const float f = t.g.Friction[i];
            EXPECT_TRUE(std::isfinite(f)) << v;
            EXPECT_LE(f, 100.0f) << v;
            EXPECT_GE(f, 0.0f) << v;
        }
        HiddenGame s(2, {1, 2});
        s.answer({"all", v, v});
        mnuSetSpeed_Click(s.ctx);
        for (int i = 1; i <= 2; ++i) {
            for (float part : {s.field.VelocityX[i], s.field.VelocityY[i]}) {
                EXPECT_TRUE(std::isfinite(part)) << v;
                EXPECT_LE(std::fabs(part), float(kMaxSpeed)) << v;
            }
        }
    }
}
