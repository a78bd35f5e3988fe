// Every record of scenarios.jsonl and commands.jsonl replays as recorded.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "DataRows.h"
#include "records/NewGame.h"
#include "rules/ShotJudging.h"
#include "rules/TurnStart.h"
#include "support/FakePlatform.h"
#include "CommandCase.h"

namespace capzel::scenarios {
namespace {

using nlohmann::json;

// Plays every record; names the first difference of the first few that differ
// (numbers compare by value: a float read back is the same only to the bit).
void replayFile(const char* file, const std::function<json(const json&)>& play) {
    int records = 0, differing = 0;
    for (const json& record : capzel::test::dataRows(file)) {
        const json& out = record.at("out");
        const json patch = json::diff(out, play(record));
        ++records;
        if (patch.empty() || ++differing > 5) continue;
        const json::json_pointer at(patch[0].at("path").get<std::string>());
        ADD_FAILURE() << record.at("name").get<std::string>() << ": " << at << ": expected "
                      << (out.contains(at) ? out.at(at).dump() : "nothing") << ", got " << patch[0].value("value", json()).dump();
    }
    EXPECT_GE(records, 300);
    EXPECT_EQ(differing, 0) << "of " << records << " records";
}

TEST(ScenarioCorpus, EveryRecordedShotEndsAsRecorded) {
    replayFile("scenarios.jsonl", [](const json& r) { return playScenario(scenarioFromJson(r.at("in"))); });
}

TEST(ScenarioCorpus, EveryRecordedCommandEndsAsRecorded) {
    replayFile("commands.jsonl", [](const json& r) { return playCommand(commandCaseFromJson(r)); });
}

// The pinned games digested over every table and every shape of the field,
// the window's own shapes and the drawing order included: the same bits on
// every build. New games as the dialog opens them, and eight pieces broken
// up by a killer (0 players here), judged.
TEST(ScenarioCorpus, PinnedGamesDigestTheSame) {
    const auto digestOf = [](int players) {
        test::Game t;
        if (players > 0) {
            applyNewGame(t.ctx, pinnedNewGame(players));
            startTurn(t.ctx, 1);
        } else if (setUp(t.ctx, pinnedBreak()); !shootPiece(t.ctx).unfinished) {
            judgeFinishedShot(t.ctx);
        }
        return stateDigest(t.ctx);
    };
    EXPECT_EQ(digestOf(8), 0xb9c1737d68ac2217ull) << std::hex << digestOf(8);
    EXPECT_EQ(digestOf(3), 0xf38e8a406ed9d0a3ull) << std::hex << digestOf(3);
    EXPECT_EQ(digestOf(0), 0x4a8a3af951a31f47ull) << std::hex << digestOf(0);
}

}  // namespace
}  // namespace capzel::scenarios
