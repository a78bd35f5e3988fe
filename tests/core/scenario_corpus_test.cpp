// Every record of scenarios.jsonl and commands.jsonl replays as recorded.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "CommandCase.h"
#include "DataRows.h"
#include "Scenario.h"
#include "support/FakePlatform.h"
#include "controls/Announcing.h"
#include "rules/ShotJudging.h"
#include "support/PlayShot.h"

namespace capzel::scenarios {
namespace {

struct Game {
    GameState g;
    Field field;
    test::FakePlatform ui;
    GameContext ctx{g, field, ui};
};

nlohmann::json replay(Game& game, const Scenario& s) {
    setUp(game.ctx, s);
    const ShotResult r = test::fireShot(game.ctx);
    const bool ended = !r.unfinished && tellPlayers(game.ui, judgeFinishedShot(game.ctx)) == GameFlow::Ended;
    return outcome(game.ctx, r, game.ui.messages, ended ? 1 : 0);
}

// Plays every record; names the first difference of the first few that differ.
void replayFile(const char* file, const std::function<nlohmann::json(const nlohmann::json&)>& play) {
    int records = 0, differing = 0;
    for (const nlohmann::json& record : capzel::test::dataRows(file)) {
        const std::string d = firstDifference(record.at("out"), play(record));
        ++records;
        if (!d.empty() && ++differing <= 5) ADD_FAILURE() << record.at("name").get<std::string>() << ": " << d;
    }
    EXPECT_GE(records, 300);
    EXPECT_EQ(differing, 0) << "of " << records << " records";
}

TEST(ScenarioCorpus, EveryRecordedShotEndsAsRecorded) {
    replayFile("scenarios.jsonl", [](const nlohmann::json& record) {
        Game game;
        return replay(game, scenarioFromJson(record.at("in")));
    });
}

TEST(ScenarioCorpus, EveryRecordedCommandEndsAsRecorded) {
    replayFile("commands.jsonl", [](const nlohmann::json& record) {
        const CommandCase c = commandCaseFromJson(record);
        Game game;
        setUp(game.ctx, c.game);
        for (const std::string& a : c.answers) game.ui.inputAnswers.push_back(a);
        const bool ended = commandNamed(c.command)(game.ctx) == GameFlow::Ended;
        return commandOutcome(game.ctx, game.ui.questions, game.ui.messages, ended ? 1 : 0);
    });
}

}  // namespace
}  // namespace capzel::scenarios
