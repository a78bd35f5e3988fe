// capzel-scenarios: records the outcomes of a corpus again from the current
// engine and rules. It reads the corpus, one JSON object a line, plays the
// game of each record (the shot of "in"; for a hidden command its game,
// command and answers) and writes the record again with the outcome as
// "out". A corpus is recorded again only on purpose, and its diff reviewed
// before it is kept; a new case is a line with its input and any "out".
//
//   capzel-scenarios < tests/data/scenarios.jsonl > scenarios.new
//   capzel-scenarios --commands < tests/data/commands.jsonl > commands.new
#include <iostream>
#include <set>
#include <string>

#include "CommandCase.h"

using namespace capzel::scenarios;

int main(int argc, char** argv) {
    const bool commands = argc > 1 && std::string(argv[1]) == "--commands";
    std::set<std::string> names;
    for (std::string line; std::getline(std::cin, line);) {
        if (line.empty()) continue;
        nlohmann::json record = nlohmann::json::parse(line);
        if (!names.insert(record.at("name").get<std::string>()).second) {
            std::cerr << "two records named " << record.at("name") << "\n";
            return 1;
        }
        record["out"] = commands ? playCommand(commandCaseFromJson(record)) : playScenario(scenarioFromJson(record.at("in")));
        std::cout << record.dump() << "\n";
    }
    return 0;
}
