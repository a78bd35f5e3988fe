// One recorded use of a hidden command: the game as it stands, the command,
// the answers typed into its input boxes, and everything it leaves that a
// player or a saved game can see (every table of every player, every
// piece's place, size, stacking and velocity, the questions asked, the
// messages shown, the menus).
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Scenario.h"
#include "rules/GameFlow.h"

namespace capzel::scenarios {

struct CommandCase {
    std::string name;
    Scenario game;  // its pointer and power are not used
    std::string command;  // "Set Position", "Set Friction", "Set Speed", "Set Piece", "Set Ingame", "Set Guidelines"
    std::vector<std::string> answers;
};

using Command = GameFlow (*)(GameContext&);

// The command of that menu caption, or nullptr.
Command commandNamed(const std::string& caption);

CommandCase commandCaseFromJson(const nlohmann::json& j);  // throws nlohmann::json::exception

nlohmann::json commandOutcome(const GameContext& ctx, const std::vector<std::string>& questions,
                              const std::vector<std::string>& messages, int highScoresShown);

// The outcome of the hidden command with its answers, in the corpus's form.
nlohmann::json playCommand(const CommandCase& c);

}  // namespace capzel::scenarios
