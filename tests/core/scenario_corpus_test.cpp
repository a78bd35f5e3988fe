// Every record of scenarios.jsonl and commands.jsonl replays as recorded.
#include <gtest/gtest.h>

#include <functional>

#include "CommandCase.h"
#include "DataRows.h"
#include "records/GameText.h"

namespace capzel::scenarios {
namespace {

using nlohmann::json;

// Names the first difference of the first few records that differ (numbers
// compare by value: a float read back is the same only to the bit).
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

// Each shot is played on its game read back from the game's text, and the
// game after it reads back the same: a game sent to another computer plays on there to the bit.
TEST(ScenarioCorpus, EveryRecordedShotEndsAsRecordedFromTheGamesText) {
    replayFile("scenarios.jsonl", [](const json& r) {
        const Scenario s = scenarioFromJson(r.at("in"));
        Game built;
        setUp(built, s);
        std::optional<Game> g = readGameText(writeGameText(built), nullptr);
        if (!g || !(*g == built)) ADD_FAILURE() << r.at("name") << ": the game's text does not give it back";
        if (!g) return json();
        const json out = playScenarioOn(*g, s);
        const std::optional<Game> after = readGameText(writeGameText(*g), nullptr);
        if (!after || !(*after == *g)) ADD_FAILURE() << r.at("name") << ": the text after the shot does not give it back";
        return out;
    });
}

TEST(ScenarioCorpus, EveryRecordedCommandEndsAsRecorded) {
    replayFile("commands.jsonl", [](const json& r) { return playCommand(commandCaseFromJson(r)); });
}

}  // namespace
}  // namespace capzel::scenarios
