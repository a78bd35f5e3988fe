// Plays one scenario as the game plays a shot: the shot, then the judging
// of the finished shot as "Go" hands it to the rules.
#pragma once

#include <nlohmann/json.hpp>

#include "Scenario.h"

namespace capzel::scenarios {

// The outcome of the scenario on a fresh game, in the corpus's form.
nlohmann::json playScenario(const Scenario& s);

}  // namespace capzel::scenarios
