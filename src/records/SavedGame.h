// A saved game as plain values, exactly as the ".CSG" file carries them:
// what the writer puts into a file and what the reader gives back. Nothing
// in the running game changes until a SavedGame is applied to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/PlayerKind.h"

namespace capzel {

// The ranges a saved game's values must lie in. The reader refuses a file
// with a value outside them; the writer brings every value into them first
// (see gatherSavedGame), so that every file the game writes loads again.
namespace saveLimits {
constexpr int kMaxPlayers = 8;
constexpr int kMaxPosition = 32767;       // targets reached; 29 and beyond is a killer
constexpr float kMinFriction = 0.0f;      // percent of its speed a piece keeps
constexpr float kMaxFriction = 100.0f;
constexpr float kNormalFriction = 98.0f;  // written for a friction that is not a number
constexpr std::int32_t kMaxColor = 16777215;  // 256^3 - 1
constexpr int kMinPieceSize = 1;          // twips
constexpr int kMaxPieceSize = 9390;       // the height of the field
constexpr int kCoordinateLimit = 20000;   // |Left|, |Top| in twips: about two fields
// Characters of a player's name, as long as a person's name gets: the
// new-game dialog takes no more and the simulator refuses more.
constexpr std::size_t kMaxNameLength = 40;
}  // namespace saveLimits

struct SavedPlayer {
    std::string name;  // UTF-8, never holds a double quote or a line end
    bool dead = false;
    bool inGame = false;
    bool isKiller = false;
    bool onLetters = false;
    bool losingTurn = false;
    bool moveableNextTurn = false;
    bool headingInReverse = false;
    float friction = saveLimits::kNormalFriction;
    // The whole score; the score line holds it within 16 bits (classicScore),
    // the score lines after the players' lines in full.
    std::int32_t score = 0;
    std::int32_t color = 0;
    // The piece's place and size, whole twips.
    std::int16_t height = 300;
    std::int16_t left = 0;
    std::int16_t top = 0;
    std::int16_t width = 300;
    std::int32_t position = 0;
    PlayerKind kind = PlayerKind::Human;  // who plays the seat

    bool operator==(const SavedPlayer&) const = default;
};

struct SavedGame {
    std::int16_t currentTurn = 0;
    std::vector<SavedPlayer> players;  // player i is players[i - 1]

    int numberOfPlayers() const { return int(players.size()); }
    bool operator==(const SavedGame&) const = default;
};

}  // namespace capzel
