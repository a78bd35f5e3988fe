// The scenario corpus: every recorded shot played again on a fresh game must
// leave exactly what it left when recorded (tests/data/scenarios.jsonl,
// written by capzel-scenarios; see tests/data/README.md).
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "Scenario.h"
#include "support/FakePlatform.h"
#include "support/PlayShot.h"

namespace capzel::scenarios {
namespace {

struct Game {
    modCapzel g;
    Field field;
    test::FakePlatform ui;
    GameContext ctx{g, field, ui};
};

nlohmann::json replay(Game& game, const Scenario& s) {
    setUp(game.ctx, s);
    const ShotResult r = test::playShot(game.ctx);
    return outcome(game.ctx, r, game.ui.messages, game.ui.highScoresShown);
}

TEST(ScenarioCorpus, EveryRecordedShotEndsAsRecorded) {
    std::ifstream in(std::string(CAPZEL_TEST_DATA) + "/scenarios.jsonl");
    ASSERT_TRUE(in) << "scenarios.jsonl is missing";
    std::string line;
    int records = 0, differing = 0;
    while (std::getline(in, line)) {
        const nlohmann::json record = nlohmann::json::parse(line);
        Game game;
        const std::string d = firstDifference(record.at("out"), replay(game, scenarioFromJson(record.at("in"))));
        ++records;
        if (!d.empty() && ++differing <= 5) ADD_FAILURE() << record.at("name").get<std::string>() << ": " << d;
    }
    EXPECT_GE(records, 300);
    EXPECT_EQ(differing, 0) << "of " << records << " records";
}

// Eight pieces broken up by a killer with the walls up: walls, contacts and a
// kill, the whole game and field hashed. The same bits at every run and on
// every build; a change here changes how every shot plays.
TEST(ScenarioCorpus, EightPieceBreakHashesTheSame) {
    Scenario s{"break", true, 1, 6585, {4700, 3000, 4700, 9000}, {}};
    for (int i = 1; i <= 8; ++i) {
        const float col = float((i - 1) % 3), row = float((i - 1) / 3);
        s.players.push_back({"P" + std::to_string(i), 4100 + 310 * col, 4300 + 305 * row, 98, 200, 5, "g"});
    }
    s.players[0] = {"Kim", 4550, 6200, 97.5f, 500, 29, "gklrm"};
    Game first, second;
    replay(first, s);
    replay(second, s);
    EXPECT_GT(first.g.HitCount, 3);
    EXPECT_GT(first.g.KillCount, 0);
    EXPECT_EQ(stateDigest(first.ctx), stateDigest(second.ctx));
    EXPECT_EQ(stateDigest(first.ctx), 0x4a8a3af951a31f47ull) << std::hex << stateDigest(first.ctx);
}

}  // namespace
}  // namespace capzel::scenarios
