// The one shared game state (the module modCapzel): game-wide values, the
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

// The five friction levels of the new-game dialog.
enum class FrictionLevel { VeryLow, Low, Normal, High, VeryHigh };

struct FrictionLevelInfo {
    const char* option;   // control name in the dialog
    const char* tooltip;
    float friction;       // percent of its speed a piece keeps per step
    int scoreBonus;
};

const FrictionLevelInfo& frictionLevelInfo(FrictionLevel level);

// Starting score of player i (1-based) at the given level.
int startingScore(FrictionLevel level, int player);

struct modCapzel {
    // Game-wide values.
    std::int16_t NumberOfPlayers = 0;
    std::int16_t CurrentTurn = 0;
    bool GameRunning = false;
    bool WallsOn = true;  // the walls are shown as laid out, so they are in play until a game says otherwise
    bool ShotInProgress = false;
    int SongNumber = 1;
    int SongCount = 0;
    bool Charging = false;
    std::int16_t Power = 0;

    // Log of the current shot (cleared at every launch).
    int HitCount = 0;
    std::array<int, kHitLogSize + 1> HitFirst{};   // 1..20
    std::array<int, kHitLogSize + 1> HitSecond{};  // 1..20
    int KillCount = 0;
    int SentCount = 0;
    int OneShotBonus = 0;  // kept by the target progression rules

    // Per-player tables of fixed size, alive for the whole run.
    std::array<std::string, kMaxPlayers + 1> PlayerName{};
    std::array<std::int32_t, kMaxPlayers + 1> Score{};
    std::array<Color, kMaxPlayers + 1> PlayerColor{};
    std::array<float, kMaxPlayers + 1> Friction{};

    // Per-game tables, recreated by every new game and load.
    bool PerGameTablesExist = false;  // false until the first game or load of the run
    std::array<bool, kMaxPlayers + 1> InGame{};
    std::array<bool, kMaxPlayers + 1> MoveableNextTurn{};
    std::array<bool, kMaxPlayers + 1> LosingTurn{};
    std::array<int, kMaxPlayers + 1> Position{};
    std::array<bool, kMaxPlayers + 1> HeadingInReverse{};
    std::array<bool, kMaxPlayers + 1> OnLetters{};
    std::array<bool, kMaxPlayers + 1> IsKiller{};
    std::array<bool, kMaxPlayers + 1> Dead{};

    // Who plays each seat of the running game (persons unless chosen
    // otherwise), and the shots judged since the game started.
    std::array<PlayerKind, kMaxPlayers + 1> playerKind{};
    int shotsTaken = 0;

    // Recreates the per-game tables with entries 0..n, all false or 0.
    void recreatePerGameTables();

    // Refreshes the current player's phase flags from Position (unless a
    // killer) and gives the label of target p: "1".."13", "12".."1", "A".."D".
    std::string TargetLabel(int p);

    // True when i is a valid player number of the running game.
    bool isPlayer(int i) const { return i >= 1 && i <= NumberOfPlayers && i <= kMaxPlayers; }
};

// Label of a reached target n as the progression messages write it: letters
// above 25, 26 - n above 13, n itself otherwise.
std::string reachedTargetLabel(int n);

// The main window's own state: its field and the engine values it owns. It
// is created anew with the main window by every new game.
struct Field {
    Board board = makeBoardLayout();
    std::array<float, kMaxPlayers + 1> VelocityX{};
    std::array<float, kMaxPlayers + 1> VelocityY{};
    double StepDelay = 0;  // yields before each step (shared with the power bar)
    double ox = 0;         // half-offsets of the last contact, kept between contacts
    double oy = 0;
    std::string TypedKeys;  // partial access word of the hidden menu

    // Menu states that live as long as the window.
    bool mnuQuinceVisible = false;
    bool mnuGuideVisible = false;
    bool mnuGuideChecked = false;
    bool mnuLoopChecked = false;
};

}  // namespace capzel
