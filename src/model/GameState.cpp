#include "model/GameState.h"

namespace capzel {

namespace {
// The letter with the given character code. Codes beyond the printable
// ASCII range (positions pushed far past 29 by hand) fall back to the number,
// so that no message ever carries a stray byte.
std::string letter(int code, int number) {
    if (code >= 33 && code <= 126) return std::string(1, char(code));
    return std::to_string(number);
}

constexpr FrictionLevelInfo kLevels[] = {
    {"optVL", "Very Low Friction", 98.375f, 0},
    {"optL", "Low Friction", 98.25f, 100},
    {"optN", "Normal Friction", 98.0f, 200},
    {"optH", "High Friction", 97.5f, 300},
    {"optVH", "Very High Friction", 96.5f, 400},
};
}  // namespace

const FrictionLevelInfo& frictionLevelInfo(FrictionLevel level) { return kLevels[int(level)]; }

int startingScore(FrictionLevel level, int player) {
    return frictionLevelInfo(level).scoreBonus + (player - 1) * 10;
}

void modCapzel::recreatePerGameTables() {
    PerGameTablesExist = true;
    InGame.fill(false);
    MoveableNextTurn.fill(false);
    LosingTurn.fill(false);
    Position.fill(0);
    HeadingInReverse.fill(false);
    OnLetters.fill(false);
    IsKiller.fill(false);
    Dead.fill(false);
    playerKind.fill(PlayerKind::Human);
    shotsTaken = 0;
}

std::string modCapzel::TargetLabel(int p) {
    const int t = CurrentTurn;
    if (t < 1 || t > kMaxPlayers) return std::to_string(p);
    if (!IsKiller[t]) {
        HeadingInReverse[t] = Position[t] >= 13;
        OnLetters[t] = Position[t] >= 25;
        IsKiller[t] = Position[t] >= 29;
    }
    if (OnLetters[t]) {
        if (p == 25) return std::to_string(26 - p);
        return letter(p + 39, p);
    }
    if (HeadingInReverse[t]) return std::to_string(26 - p);
    return std::to_string(p);
}

std::string reachedTargetLabel(int n) {
    if (n > 25) return letter(n + 39, n);
    if (n > 13) return std::to_string(26 - n);
    return std::to_string(n);
}

}  // namespace capzel
