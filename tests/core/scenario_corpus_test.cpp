// Every record of scenarios.jsonl and commands.jsonl replays as recorded.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "DataRows.h"
#include "PlayScenario.h"

namespace capzel::scenarios {
namespace {

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
    replayFile("scenarios.jsonl", [](const nlohmann::json& r) { return playScenario(scenarioFromJson(r.at("in"))); });
}

TEST(ScenarioCorpus, EveryRecordedCommandEndsAsRecorded) {
    replayFile("commands.jsonl", [](const nlohmann::json& r) { return playCommand(commandCaseFromJson(r)); });
}

}  // namespace
}  // namespace capzel::scenarios
