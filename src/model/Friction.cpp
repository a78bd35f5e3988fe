#include "model/Friction.h"

namespace capzel {

namespace {
constexpr FrictionLevelInfo kLevels[] = {
    {"veryLowFriction", "Very Low Friction", 98.375f, 0},
    {"lowFriction", "Low Friction", 98.25f, 100},
    {"normalFriction", "Normal Friction", 98.0f, 200},
    {"highFriction", "High Friction", 97.5f, 300},
    {"veryHighFriction", "Very High Friction", 96.5f, 400},
};
}  // namespace

const FrictionLevelInfo& frictionLevelInfo(FrictionLevel level) { return kLevels[int(level)]; }

int startingScore(FrictionLevel level, int player) {
    return frictionLevelInfo(level).scoreBonus + (player - 1) * 10;
}

}  // namespace capzel
