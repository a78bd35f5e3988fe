#include "model/PowerBarScale.h"

#include <algorithm>

#include "model/Numbers.h"

namespace capzel {

int powerBarRows() { return int(roundHalfEven(kPowerBarHeight)); }

int maxBarTicks() {
    // The charge restarts once the level has passed a tick above the top:
    // the last level stopped is the first one below -kBarTick.
    return std::max(1, (powerBarRows() + kBarTick) / kBarTick + 1);
}

int barLevel(int ticks) { return powerBarRows() - kBarTick * std::clamp(ticks, 1, maxBarTicks()); }

std::int16_t strengthAtGo(float fieldHeight, int level) {
    return std::int16_t(roundHalfEven(double(fieldHeight) - double(level)));
}

std::int16_t strengthAfterTicks(float fieldHeight, int ticks) { return strengthAtGo(fieldHeight, barLevel(ticks)); }

int strongestStrength(float fieldHeight) {
    const double strongest = roundHalfEven(double(fieldHeight) - double(barLevel(maxBarTicks())));
    return int(std::clamp(strongest, 0.0, 32767.0));
}

int levelForStrength(float fieldHeight, std::int16_t strength) {
    return int(roundHalfEven(double(fieldHeight) - double(strength)));
}

bool chargeReachesLevel(int level) {
    const int rows = powerBarRows();
    return level >= 0 && level <= rows && (rows - level) % kBarTick == 0;
}

}  // namespace capzel
