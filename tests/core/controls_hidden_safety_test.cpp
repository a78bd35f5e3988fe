// The hidden commands cannot break the game: nothing outside the tables of
// the running game is written, nothing is written before the first game,
// and no value is stored that could keep a shot from ending.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "controls/HiddenMenu.h"
#include "controls_hidden_game.h"

using namespace capzel;
using capzel::test::HiddenGame;
using capzel::test::Snapshot;
using capzel::test::unchanged;

namespace {

struct Command {
    const char* name;
    void (*run)(GameContext&);
};

const Command kWritingCommands[] = {
    {"Set Position", mnuSetPos_Click}, {"Set Friction", mnuSetFrict_Click}, {"Set Speed", mnuSetSpeed_Click},
    {"Set Piece", mnuSetPiece_Click},  {"Set Ingame", mnuSetIngame_Click},
};

// Answers that would be accepted in a running game with these players.
const std::vector<std::vector<const char*>> kPlausibleAnswers = {
    {"1", "5", "1", "1"}, {"all", "5", "1", "1"}, {"2", "26", "1", "1"}, {"8", "2", "1", "1"},
};

// Answers that are numbers of a kind, but of no player or no target.
const std::vector<std::vector<const char*>> kOutOfRangeAnswers = {
    {"0.4", "5", "1", "1"},  {"4", "5", "1", "1"},   {"8", "5", "1", "1"},   {"9", "5", "1", "1"},
    {"1e9", "5", "1", "1"},  {"1e400", "5", "1", "1"}, {"2", "30", "1", "1"}, {"2", "0.4", "1", "1"},
    {"2", "1e9", "1", "1"},  {"32768", "5", "1", "1"}, {"65537", "5", "1", "1"},
};

}  // namespace

TEST(HiddenCommandSafety, BeforeAnyGameNothingIsWritten) {
    for (const Command& c : kWritingCommands) {
        for (const auto& answers : kPlausibleAnswers) {
            HiddenGame t;  // the program has just started: no game, no tables
            const Snapshot before(t);
            for (const char* a : answers) t.ui.inputAnswers.emplace_back(a);
            c.run(t.ctx);
            EXPECT_TRUE(unchanged(before, t)) << c.name << " with " << answers[0] << ", " << answers[1];
            EXPECT_FALSE(t.g.PerGameTablesExist);
        }
    }
}

TEST(HiddenCommandSafety, PlayersAndTargetsOutsideTheGameAreIgnored) {
    // Three players, all on the board: players 4 to 8 have fixed-table
    // entries from earlier games, which must keep their values.
    for (const Command& c : kWritingCommands) {
        for (const auto& answers : kOutOfRangeAnswers) {
            HiddenGame t(3, {1, 2, 3});
            const Snapshot before(t);
            for (const char* a : answers) t.ui.inputAnswers.emplace_back(a);
            c.run(t.ctx);
            // Only Set Position and Set Piece ask for a target: for the
            // others an answer naming player 2 is a good one.
            const bool asksTarget = c.run == mnuSetPos_Click || c.run == mnuSetPiece_Click;
            if (asksTarget || std::string(answers[0]) != "2") {
                EXPECT_TRUE(unchanged(before, t)) << c.name << " with " << answers[0] << ", " << answers[1];
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

TEST(HiddenCommandSafety, AGameWithoutTablesIsLeftAlone) {
    // A player count without the tables of a game (never made by the game
    // itself) is not trusted.
    HiddenGame t;
    t.g.NumberOfPlayers = 3;
    const Snapshot before(t);
    for (const Command& c : kWritingCommands) {
        t.answer({"all", "5", "1", "1"});
        c.run(t.ctx);
        t.answer({"2", "5", "1", "1"});
        c.run(t.ctx);
    }
    EXPECT_TRUE(unchanged(before, t));
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

TEST(HiddenCommandSafety, APieceInTheHolderGetsNoSpeed) {
    // A piece off the board is not stepped by a shot; a speed given to it
    // would never wear off. Neither "all" nor its own number gives it one.
    HiddenGame t(3, {1});
    t.answer({"2", "50", "0"});
    mnuSetSpeed_Click(t.ctx);
    t.answer({"all", "50", "0"});
    mnuSetSpeed_Click(t.ctx);
    EXPECT_EQ(t.field.VelocityX[1], 50.0f);
    for (int i : {2, 3}) {
        EXPECT_EQ(t.field.VelocityX[i], 0.5f) << i;
        EXPECT_EQ(t.field.VelocityY[i], -0.5f) << i;
    }
}

TEST(HiddenCommandSafety, CommandsDuringAShotActOnThePiecesAtOnce) {
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
