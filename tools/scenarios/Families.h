// The families of shots the scenario corpus covers, each a list of inputs.
#pragma once

#include <vector>

#include "Scenario.h"

namespace capzel::scenarios {

// Every family in a fixed order; the same list at every run.
std::vector<Scenario> allFamilies();

}  // namespace capzel::scenarios
