// The one shared game state: game-wide values, the
// fixed per-player tables and the tables of the running game. Players are
// numbered from 1; index 0 of every table is unused.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/Board.h"
#include "model/PlayerKind.h"

namespace capzel {

constexpr int kHitLogSize = 20;

struct GameState {
    // Game-wide values.
    std::int16_t numberOfPlayers = 0;
    std::int16_t currentTurn = 0;
    bool gameRunning = false;
    bool wallsOn = true;  // the walls are shown as laid out, so they are in play until a game says otherwise
    bool shotInProgress = false;
    std::int16_t power = 0;

    // Log of the current shot (cleared at every launch).
    int hitCount = 0;
    std::array<int, kHitLogSize + 1> hitFirst{};   // 1..20
    std::array<int, kHitLogSize + 1> hitSecond{};  // 1..20
    int killCount = 0;
    int sentCount = 0;
    int oneShotBonus = 0;  // kept by the target progression rules

    // Per-player tables of fixed size, alive for the whole run.
    std::array<std::string, kMaxPlayers + 1> playerName{};
    std::array<std::int32_t, kMaxPlayers + 1> score{};
    std::array<Color, kMaxPlayers + 1> playerColor{};
    std::array<float, kMaxPlayers + 1> friction{};

    // Per-game tables, recreated by every new game and load.
    bool perGameTablesExist = false;  // false until the first game or load of the run
    std::array<bool, kMaxPlayers + 1> inGame{};
    std::array<bool, kMaxPlayers + 1> moveableNextTurn{};
    std::array<bool, kMaxPlayers + 1> losingTurn{};
    std::array<int, kMaxPlayers + 1> position{};
    std::array<bool, kMaxPlayers + 1> headingInReverse{};
    std::array<bool, kMaxPlayers + 1> onLetters{};
    std::array<bool, kMaxPlayers + 1> isKiller{};
    std::array<bool, kMaxPlayers + 1> dead{};

    // Who plays each seat of the running game (persons unless chosen
    // otherwise), and the shots judged since the game started.
    std::array<PlayerKind, kMaxPlayers + 1> playerKind{};
    int shotsTaken = 0;

    // Recreates the per-game tables with entries 0..n, all false or 0.
    void recreatePerGameTables();

    // Refreshes the current player's phase flags from Position (unless a
    // killer) and gives the label of target p: "1".."13", "12".."1", "A".."D".
    std::string targetLabel(int p);

    // True when i is a valid player number of the running game.
    bool isPlayer(int i) const { return i >= 1 && i <= numberOfPlayers && i <= kMaxPlayers; }
};

// Label of a reached target n as the progression messages write it: letters
// above 25, 26 - n above 13, n itself otherwise.
std::string reachedTargetLabel(int n);

}  // namespace capzel
