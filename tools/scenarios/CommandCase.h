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
#include "model/WindowState.h"

namespace capzel::scenarios {

struct CommandCase {
    std::string name;
    Scenario game;  // its pointer and power are not used
    std::string command;  // "Set Position", "Set Friction", "Set Speed", "Set Piece", "Set Ingame", "Set Guidelines"
    std::vector<std::string> answers;
};

// What a command left beside the game: whether the game ended in it, the
// drawing order its turn start set, the menus' states.
struct CommandRun {
    bool ended = false;
    DrawingOrder order;
    MenuState menus;
};

// Runs the command of that menu caption on the game as the main window does:
// its boxes are asked through `ui`, then the rulebook applies it with the
// answers they got. `said` gets what it announced. An unknown caption does
// nothing.
CommandRun runCommandNamed(Game& g, Platform& ui, const std::string& caption, std::vector<std::string>& said);

CommandCase commandCaseFromJson(const nlohmann::json& j);  // throws nlohmann::json::exception

nlohmann::json commandOutcome(const Game& g, const CommandRun& run, const std::vector<std::string>& questions,
                              const std::vector<std::string>& messages);

// The outcome of the hidden command with its answers, in the corpus's form.
nlohmann::json playCommand(const CommandCase& c);

}  // namespace capzel::scenarios
