// The hidden commands before the first game (tests/data/commands.jsonl has the rest).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Scenario.h"
#include "rules/HiddenCommands.h"
#include "rules/Rulebook.h"

using namespace capzel;

TEST(HiddenCommandSafety, WithoutTheTablesOfAGameNothingIsWritten) {
    // Answers that would be accepted in a running game with these players.
    const std::vector<std::vector<std::string>> plausible = {
        {"1", "5", "1", "1"}, {"all", "5", "1", "1"}, {"2", "26", "1", "1"}, {"8", "2", "1", "1"},
    };
    // Before the first game (0 players), and with a player count but no
    // tables of a game (never made by the game itself, so not trusted).
    for (int players : {0, 3}) {
        for (std::size_t kind = 0; kind < kHiddenCommandCaptions.size(); ++kind) {
            for (const auto& answers : plausible) {
                Game g;
                g.numberOfPlayers = std::int16_t(players);
                // Everything a command may write: every table and shape of the game.
                const std::uint64_t before = scenarios::stateDigest(g);
                const Judgement said = runHiddenCommand(g, HiddenCommand{HiddenCommandKind(kind), answers});
                const char* name = kHiddenCommandCaptions[kind];
                EXPECT_TRUE(said.announcements.empty() && said.broughtForward.empty()) << name;
                EXPECT_EQ(scenarios::stateDigest(g), before) << name << " with " << answers[0] << ", " << players;
                EXPECT_FALSE(g.perGameTablesExist);
            }
        }
    }
}
