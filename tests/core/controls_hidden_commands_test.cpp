// The hidden commands before the first game (tests/data/commands.jsonl has the rest).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Scenario.h"
#include "rules/HiddenCommands.h"
#include "records_fixtures.h"

using namespace capzel;

namespace {

// The program just started: no game, no tables.
struct HiddenGame : test::Game {
    void answer(const std::vector<const char*>& answers) {
        for (const char* a : answers) ui.inputAnswers.emplace_back(a);
    }
};

// Everything the hidden commands may write: every table and shape of the
// game, and the boxes shown.
std::string everything(const HiddenGame& t) {
    return std::to_string(scenarios::stateDigest(t.ctx)) + " after " + std::to_string(t.ui.messages.size()) + " boxes";
}

struct Command { const char* name; GameCommand run; };

const Command kWritingCommands[] = {
    {"Set Position", setPositionCommand}, {"Set Friction", setFrictionCommand}, {"Set Speed", setSpeedCommand},
    {"Set Piece", setPieceCommand},  {"Set Ingame", setInGameCommand},
};

}  // namespace

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
                HiddenGame t;
                t.g.numberOfPlayers = std::int16_t(players);
                const std::string before = everything(t);
                t.answer(answers);
                const Judgement said = c.run(t.ctx);
                EXPECT_TRUE(said.announcements.empty() && said.broughtForward.empty()) << c.name;
                EXPECT_EQ(everything(t), before) << c.name << " with " << answers[0] << ", " << players;
                EXPECT_FALSE(t.g.perGameTablesExist);
            }
        }
    }
}
