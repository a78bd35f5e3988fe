// Every record of scenarios.jsonl and commands.jsonl replays as recorded.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "CommandCase.h"
#include "DataRows.h"
#include "Scenario.h"
#include "support/FakePlatform.h"
#include "controls/Announcing.h"
#include "records/NewGame.h"
#include "rules/ShotJudging.h"
#include "rules/TurnStart.h"

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
    StepPace pace;
    const ShotResult r = playPacedShot(game.ctx, pace);
    const bool ended = !r.unfinished && tellPlayers(game.ui, judgeFinishedShot(game.ctx)) == GameFlow::Ended;
    return outcome(game.ctx, r, pace.delay(), game.ui.messages, ended ? 1 : 0);
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
        const CommandRun run = runCommandNamed(game.ctx, c.command);
        return commandOutcome(game.ctx, run, game.ui.questions, game.ui.messages);
    });
}

// Eight pieces broken up by a killer, hashed: the same bits on every build.
TEST(ScenarioCorpus, EightPieceBreakHashesTheSame) {
    const Scenario s = pinnedBreak();
    Game first, second;
    replay(first, s);
    replay(second, s);
    EXPECT_GT(first.g.hitCount, 3);
    EXPECT_GT(first.g.killCount, 0);
    EXPECT_EQ(stateDigest(first.ctx), stateDigest(second.ctx));
    EXPECT_EQ(stateDigest(first.ctx), 0x8bf43bbcb18ba863ull) << std::hex << stateDigest(first.ctx);
}

// New games as the dialog opens them hash the same.
TEST(ScenarioCorpus, NewGamesHashTheSame) {
    std::uint64_t digests[2] = {};
    for (int players : {8, 3}) {
        Game game;
        applyNewGame(game.ctx, pinnedNewGame(players));
        startTurn(game.ctx, 1);
        digests[players == 3] = stateDigest(game.ctx);
    }
    EXPECT_EQ(digests[0], 0xc3b9a241b8c50f48ull) << std::hex << digests[0];
    EXPECT_EQ(digests[1], 0xd6d16bdb24d6ac94ull) << std::hex << digests[1];
}

}  // namespace
}  // namespace capzel::scenarios
