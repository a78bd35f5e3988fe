// The uses of the hidden commands the command corpus records: every command
// on games of different sizes and phases, with answers drawn from pools of
// what players type (numbers, halves, words, blanks, huge and broken values).
#pragma once

#include <vector>

#include "CommandCase.h"

namespace capzel::scenarios {

std::vector<CommandCase> allCommandCases();

}  // namespace capzel::scenarios
