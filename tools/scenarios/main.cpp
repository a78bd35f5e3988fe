// capzel-scenarios: records the outcomes of a corpus again from the current
// engine and rules. It reads the corpus, one JSON object a line, plays the
// game of each record (the shot of "in"; for a hidden command its game,
// command and answers) and writes the record again with the outcome as
// "out". A corpus is recorded again only on purpose, and its diff reviewed
// before it is kept; a new case is a line with its input and any "out".
//
//   capzel-scenarios < tests/data/scenarios.jsonl > scenarios.new
//   capzel-scenarios --commands < tests/data/commands.jsonl > commands.new
//   capzel-scenarios --summary < tests/data/scenarios.jsonl   how many records show each kind of event
#include <iostream>
#include <map>
#include <set>
#include <string>

#include "PlayScenario.h"

using namespace capzel::scenarios;

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const bool summary = mode == "--summary";
    std::map<std::string, int> seen;
    std::set<std::string> names;
    for (std::string line; std::getline(std::cin, line);) {
        if (line.empty()) continue;
        nlohmann::json record = nlohmann::json::parse(line);
        if (!names.insert(record.at("name").get<std::string>()).second) {
            std::cerr << "two records named " << record.at("name") << "\n";
            return 1;
        }
        record["out"] = mode == "--commands" ? playCommand(commandCaseFromJson(record))
                                             : playScenario(scenarioFromJson(record.at("in")));
        if (!summary) {
            std::cout << record.dump() << "\n";
            continue;
        }
        const nlohmann::json& out = record["out"];
        ++seen["records"];
        if (out["hit_count"].get<int>() > 0) ++seen["with hits"];
        if (out["hit_count"].get<int>() == 20) ++seen["full hit log"];
        if (out["kills"].get<int>() > 0) ++seen["with kills"];
        if (out["sent"].get<int>() > 0) ++seen["with pieces sent"];
        if (out["high_scores"].get<int>() > 0) ++seen["won"];
        for (const auto& m : out["messages"]) {
            const std::string text = m.get<std::string>();
            for (const char* key : {"reached target", "ONE SHOT", "loses turn", "loses Turn", "became a killer",
                                    "WON", "Killer may continue", "killed", "turn start", "reached box", "landed in"})
                if (text.find(key) != std::string::npos) ++seen[std::string("message: ") + key];
        }
    }
    if (summary)
        for (const auto& [what, count] : seen) std::cout << count << "\t" << what << "\n";
    return 0;
}
