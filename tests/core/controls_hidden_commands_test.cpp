// The hidden commands beyond what the command corpus records (every answer
// table, with the values that could keep a shot from ending, is in
// tests/data/commands.jsonl): a command run in the middle of a shot, and
// nothing written before the first game.
#include <gtest/gtest.h>

#include <array>
#include <iomanip>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "controls/HiddenCommands.h"
#include "records_fixtures.h"

using namespace capzel;

namespace {

// A small running game: players named P1..Pn, every Friction at Normal, the
// chosen pieces on the board at known places, the others in the holder.
struct HiddenGame : test::Game {
    HiddenGame() = default;  // before the first game of the run

    HiddenGame(int players, std::initializer_list<int> onBoard) {
        g.numberOfPlayers = std::int16_t(players);
        g.currentTurn = 1;
        g.gameRunning = true;
        g.recreatePerGameTables();
        for (int i = 1; i <= kMaxPlayers; ++i) {
            g.playerName[i] = std::string("P").append(std::to_string(i));
            g.friction[i] = 98.0f;
            field.velocityX[i] = 0.5f;
            field.velocityY[i] = -0.5f;
        }
        for (int i : onBoard) {
            g.inGame[i] = true;
            g.position[i] = 3;
            field.board.pieces[i].left = float(2000 + 400 * i);
            field.board.pieces[i].top = 6000;
        }
    }

    void answer(const std::vector<const char*>& answers) {
        for (const char* a : answers) ui.inputAnswers.emplace_back(a);
    }
};

// Everything the hidden commands may write, for "nothing changed" checks:
// all that a load may set, and the velocities, the pieces' stacking order,
// the menus and the messages.
std::string everything(const HiddenGame& t) {
    std::ostringstream o;
    o << test::dump(t) << "\nmenus " << t.field.hiddenMenuVisible << t.field.guideItemVisible << ", messages "
      << t.ui.messages.size() << std::setprecision(9);
    for (int i = 0; i <= kMaxPlayers; ++i)
        o << "\n" << i << ": v " << t.field.velocityX[i] << "," << t.field.velocityY[i] << " z"
          << t.field.board.pieces[i].z;
    return o.str();
}

struct Command {
    const char* name;
    GameFlow (*run)(GameContext&);
};

const Command kWritingCommands[] = {
    {"Set Position", setPositionCommand}, {"Set Friction", setFrictionCommand}, {"Set Speed", setSpeedCommand},
    {"Set Piece", setPieceCommand},  {"Set Ingame", setInGameCommand},
};

}  // namespace

TEST(SetSpeed, DuringAShotActsOnThePiecesAtOnce) {
    // The commands may run in the middle of a shot (during its yields):
    // a new speed is in the tables for the next step.
    HiddenGame t(2, {1, 2});
    t.g.shotInProgress = true;
    t.answer({"2", "-40", "12.5"});
    setSpeedCommand(t.ctx);
    EXPECT_EQ(t.field.velocityX[2], -40.0f);
    EXPECT_EQ(t.field.velocityY[2], 12.5f);
    EXPECT_TRUE(t.g.shotInProgress);
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
                t.g.numberOfPlayers = std::int16_t(players);
                const std::string before = everything(t);
                t.answer(answers);
                c.run(t.ctx);
                EXPECT_EQ(everything(t), before) << c.name << " with " << answers[0] << ", " << players;
                EXPECT_FALSE(t.g.perGameTablesExist);
            }
        }
    }
}
