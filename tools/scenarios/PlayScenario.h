// Plays one scenario as the game plays a shot: the shot, then the judging
// of the finished shot as "Go" hands it to the rules.
#pragma once

#include <nlohmann/json.hpp>

#include "CommandCase.h"
#include "Scenario.h"

namespace capzel::scenarios {

// The outcome of the scenario on a fresh game, in the corpus's form.
nlohmann::json playScenario(const Scenario& s);

// The outcome of the hidden command with its answers, in the corpus's form.
nlohmann::json playCommand(const CommandCase& c);

}  // namespace capzel::scenarios
