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

}  // namespace

void GameState::recreatePerGameTables() {
    perGameTablesExist = true;
    inGame.fill(false);
    moveableNextTurn.fill(false);
    losingTurn.fill(false);
    position.fill(0);
    headingInReverse.fill(false);
    onLetters.fill(false);
    isKiller.fill(false);
    dead.fill(false);
    playerKind.fill(PlayerKind::Human);
    shotsTaken = 0;
}

std::string GameState::targetLabel(int p) {
    const int t = currentTurn;
    if (t < 1 || t > kMaxPlayers) return std::to_string(p);
    if (!isKiller[t]) {
        headingInReverse[t] = position[t] >= 13;
        onLetters[t] = position[t] >= 25;
        isKiller[t] = position[t] >= 29;
    }
    if (onLetters[t]) {
        if (p == 25) return std::to_string(26 - p);
        return letter(p + 39, p);
    }
    if (headingInReverse[t]) return std::to_string(26 - p);
    return std::to_string(p);
}

std::string reachedTargetLabel(int n) {
    if (n > 25) return letter(n + 39, n);
    if (n > 13) return std::to_string(26 - n);
    return std::to_string(n);
}

}  // namespace capzel
