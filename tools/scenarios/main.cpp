// capzel-scenarios: writes the scenario corpus, one JSON object per line:
// {"name": ..., "in": the game before the shot, "out": what the shot left}.
// The outcomes are recorded from the current engine and rules, so the file
// is regenerated only on purpose, and its diff reviewed before it is kept.
//
//   capzel-scenarios > tests/data/scenarios.jsonl
//   capzel-scenarios --summary     how many records show each kind of event
//   capzel-scenarios --commands > tests/data/commands.jsonl   the hidden commands
#include <cstring>
#include <iostream>
#include <map>
#include <set>

#include "CommandFamilies.h"
#include "Families.h"
#include "PlayScenario.h"

using namespace capzel::scenarios;

int main(int argc, char** argv) {
    const bool summary = argc > 1 && std::strcmp(argv[1], "--summary") == 0;
    if (argc > 1 && std::strcmp(argv[1], "--commands") == 0) {
        for (const CommandCase& c : allCommandCases()) {
            nlohmann::json record = toJson(c);
            record["name"] = c.name;
            record["out"] = playCommand(c);
            std::cout << record.dump() << "\n";
        }
        return 0;
    }
    std::map<std::string, int> seen;
    std::set<std::string> names;
    for (const Scenario& s : allFamilies()) {
        if (!names.insert(s.name).second) {
            std::cerr << "two scenarios named " << s.name << "\n";
            return 1;
        }
        const nlohmann::json out = playScenario(s);
        if (!summary) {
            std::cout << nlohmann::json{{"name", s.name}, {"in", toJson(s)}, {"out", out}}.dump() << "\n";
            continue;
        }
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
