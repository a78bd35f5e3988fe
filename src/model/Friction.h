// The five friction levels of the new-game dialog: how much of its speed a
// piece keeps per step at each, and the starting scores they give.
#pragma once

namespace capzel {

enum class FrictionLevel { VeryLow, Low, Normal, High, VeryHigh };

struct FrictionLevelInfo {
    const char* option;   // name of the level's button in the dialog
    const char* tooltip;
    float friction;       // percent of its speed a piece keeps per step
    int scoreBonus;
};

const FrictionLevelInfo& frictionLevelInfo(FrictionLevel level);

// Starting score of player i (1-based) at the given level.
int startingScore(FrictionLevel level, int player);

}  // namespace capzel
