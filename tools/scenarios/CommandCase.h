// One recorded use of a hidden command: the game, the command, the answers
// typed into its boxes, and all it leaves that a player or a saved game sees.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Scenario.h"

namespace capzel::scenarios {

struct CommandCase {
    Scenario game;  // its pointer and power are not used
    std::string command;  // a menu caption: "Set Position", "Set Friction", ... "Set Guidelines"
    std::vector<std::string> answers;
};

CommandCase commandCaseFromJson(const nlohmann::json& j);  // throws nlohmann::json::exception

// Runs the command as the main window does (its boxes answered from the
// case, then applied by the rulebook) and gives the outcome in the corpus's form.
nlohmann::json playCommand(const CommandCase& c);

}  // namespace capzel::scenarios
