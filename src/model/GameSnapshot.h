// The game as one value: everything the shot engine and the rules read or
// write, and nothing that only a window keeps. Two computers holding equal
// snapshots play the next shot to the same bits; a snapshot can be copied,
// compared, hashed and written out and read back exactly (records/SnapshotText.h).
//
// What belongs in it, field by field:
//  - Game-wide values the rules and the engine use: whose turn, running,
//    walls in play, a shot under way, the launch strength (Power), the shot's
//    hit log, kill and sent counts, the one-shot bonus and the shots judged.
//  - Per player (one row for each player of the game, players 1..n): the
//    name, score, colour and friction, who sits in the seat, the target
//    position and every phase flag, the piece's box, look and visibility,
//    and its velocity.
//  - From the field: the walls' boxes and visibility, the piece holder, the
//    aim line's ends and visibility, the board's three moving edges (left and
//    right lines, and the field height, which the window sets when resized),
//    and the contact offsets the engine keeps from one contact to the next
//    (a contact of coinciding centres pushes along them).
// Left out, and why:
//  - Songs, the power bar's charge and rows, menu states, typed keys, the Go
//    button, the aim label, guide and centre lines, drawing order, line
//    styles: windows and music only; no rule or engine pass reads them.
//  - The step delay: it sets how many yields a step waits and nothing else;
//    every launch calibrates it afresh from the machine's clock, so it would
//    make two machines' snapshots differ without any difference in play.
//  - The target regions and the field picture: the fixed layout, the same on
//    every start and never moved.
//  - Table entries above the number of players: no rule reads them. Applying
//    a snapshot clears them as a new game does (hidden pieces, no speed, per-
//    game tables reset) and keeps the run-long names, scores, colours and
//    frictions there as they are.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/Field.h"
#include "model/GameState.h"

namespace capzel {

// Every value of a default snapshot is zero, false or empty: only captured
// and read snapshots carry a game.

// A rectangle or piece as the game sees it: place, size, shown, fill.
struct SnapshotBox {
    float left{};
    float top{};
    float width{};
    float height{};
    bool visible{};
    Color fillColor{};
};

struct SnapshotLine {
    float x1{};
    float y1{};
    float x2{};
    float y2{};
    bool visible{};
};

struct PlayerSnapshot {
    std::string name;  // UTF-8
    std::int32_t score{};
    Color color{};
    float friction{};
    PlayerKind kind{};
    std::int32_t position{};
    bool inGame{};
    bool moveableNextTurn{};
    bool losingTurn{};
    bool headingInReverse{};
    bool onLetters{};
    bool isKiller{};
    bool dead{};
    SnapshotBox piece;
    float velocityX{};
    float velocityY{};
};

struct GameSnapshot {
    std::int16_t currentTurn{};
    bool gameRunning{};
    bool wallsOn{};
    bool shotInProgress{};
    std::int16_t power{};  // the launch strength (the curved strength after a launch)

    std::int32_t hitCount{};
    std::array<std::int32_t, kHitLogSize> hitFirst{};  // log entries 1..20
    std::array<std::int32_t, kHitLogSize> hitSecond{};
    std::int32_t killCount{};
    std::int32_t sentCount{};
    std::int32_t oneShotBonus{};
    std::int32_t shotsTaken{};

    std::vector<PlayerSnapshot> players;  // player i is players[i - 1]

    std::array<SnapshotBox, kWallCount> walls{};  // walls 1..10
    SnapshotBox pieceHolder;
    SnapshotLine pointer;
    float leftEdge{};    // x of the left side line's first end
    float rightEdge{};   // x of the right side line's first end
    float fieldHeight{}; // the bottom edge
    double contactOffsetX{};
    double contactOffsetY{};

    int numberOfPlayers() const { return int(players.size()); }
};

// The snapshot's canonical bytes: every value in a fixed order, integers as
// fixed-width little-endian, reals as their bit patterns, texts and lists
// prefixed by their length. The same snapshot gives the same bytes on every
// build and machine.
std::string canonicalBytes(const GameSnapshot& s);

// Equal when every bit is equal: reals compare by bit pattern, so -0 differs
// from 0 and a NaN equals the same NaN. Equal snapshots have equal hashes.
bool operator==(const GameSnapshot& a, const GameSnapshot& b);

// FNV-1a (64 bits) of the canonical bytes.
std::uint64_t stateHash(const GameSnapshot& s);

// A shape's game values (place, size, shown, fill), and putting them back
// on a shape, whose other values stay.
SnapshotBox boxOf(const Box& b);
void putBox(const SnapshotBox& s, Box& b);

// The game's values out of its state and field (players 1..numberOfPlayers,
// at most 8).
GameSnapshot captureSnapshot(const GameState& g, const Field& field);

// Puts the snapshot's values into a state and field. Everything the snapshot
// leaves out (songs, the power bar, menus, the step delay, drawing order) keeps
// its value; entries above the snapshot's players are cleared as a new game
// clears them. Rows beyond the eighth are ignored.
void applySnapshot(const GameSnapshot& s, GameState& g, Field& field);

}  // namespace capzel
