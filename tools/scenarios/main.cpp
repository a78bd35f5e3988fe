// capzel-scenarios: plays each record of a corpus (one JSON object a line) on
// the current engine and rules and writes it again with its outcome as "out".
// Recorded again only on purpose, its diff reviewed before it is kept.
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
