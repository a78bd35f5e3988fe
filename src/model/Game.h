// The game as one value: everything the shot engine and the rules read or
// write, and nothing that only a window keeps. Two computers holding equal
// games play the next shot to the same bits; a game can be copied, compared,
// hashed, and written out and read back exactly (records/GameText.h).
//
// What belongs in it:
//  - Game-wide values: how many players, whose turn, running, walls in play,
//    a shot under way, the launch strength, the shot's hit log, the kill and
//    sent counts, the one-shot bonus and the shots judged.
//  - A seat per player (players 1..8; row 0 unused): name, score, colour,
//    friction, who plays it, the target position and every phase flag.
//  - The board: the pieces, the walls, the piece holder, the aim line's ends,
//    the moving edges and the fixed target regions; the pieces' speeds and
//    the contact offsets the engine keeps from one contact to the next.
// What a window keeps (the power bar, "Go", menus, songs, drawing order,
// guide and centre lines) lives in model/WindowState.h.
//
// The hash covers what play can tell apart: players 1..numberOfPlayers, the
// walls, the holder, the aim line, the edges and the contact offsets. The
// fixed layout (the target regions, the field's width) and the rows above
// the number of players are left out: no rule reads them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/Board.h"
#include "model/PlayerKind.h"

namespace capzel {

constexpr int kHitLogSize = 20;

// One player of the game. Name, score, colour and friction last the whole
// run of a program; the rest belongs to the game being played.
struct Seat {
    std::string name;  // UTF-8
    std::int32_t score = 0;
    Color color = 0;
    float friction = 0;  // percent of its speed the piece keeps per step
    PlayerKind kind = PlayerKind::Human;

    int position = 0;  // the box reached last (0: none yet)
    bool inGame = false;
    bool moveableNextTurn = false;
    bool losingTurn = false;
    bool headingInReverse = false;
    bool onLetters = false;
    bool isKiller = false;
    bool dead = false;

    // Back to how a new game finds the seat: no position, no flag, a person.
    void clearGameTables();
    bool operator==(const Seat&) const = default;
};

struct Game {
    std::int16_t numberOfPlayers = 0;
    std::int16_t currentTurn = 0;
    bool gameRunning = false;
    bool wallsOn = true;  // the walls are shown as laid out, so they are in play until a game says otherwise
    bool shotInProgress = false;
    // The strength the launch gave the shot (the strength at "Go" after the
    // curve); 0 once the shot has been judged.
    std::int16_t launchStrength = 0;

    // Log of the current shot (cleared at every launch).
    int hitCount = 0;
    std::array<int, kHitLogSize + 1> hitFirst{};   // 1..20
    std::array<int, kHitLogSize + 1> hitSecond{};  // 1..20
    int killCount = 0;
    int sentCount = 0;
    int oneShotBonus = 0;  // kept by the target progression rules
    int shotsTaken = 0;    // shots judged since the game started

    bool perGameTablesExist = false;  // false until the first game of the run
    std::array<Seat, kMaxPlayers + 1> seats{};  // 1..8; 0 unused

    Board board = makeBoardLayout();
    std::array<float, kMaxPlayers + 1> velocityX{};
    std::array<float, kMaxPlayers + 1> velocityY{};
    double ox = 0;  // half-offsets of the last contact, kept between contacts
    double oy = 0;

    // True when i is a valid player number of the running game.
    bool isPlayer(int i) const { return i >= 1 && i <= numberOfPlayers && i <= kMaxPlayers; }

    Seat& seat(int i) { return seats[std::size_t(i)]; }
    const Seat& seat(int i) const { return seats[std::size_t(i)]; }
    Box& piece(int i) { return board.pieces[std::size_t(i)]; }
    const Box& piece(int i) const { return board.pieces[std::size_t(i)]; }

    // Players whose rows play reads: numberOfPlayers held to 0..8.
    int playerCount() const;

    // Clears every seat's per-game values, as a new game or a load does.
    void recreatePerGameTables();

    // Refreshes the current player's phase flags from its position (unless a
    // killer) and gives the label of target p: "1".."13", "12".."1", "A".."D".
    std::string targetLabel(int p);

    // The canonical bytes: every hashed value in a fixed order, integers as
    // fixed-width little-endian, reals as their bit patterns, texts and lists
    // prefixed by their length. The same game gives the same bytes on every
    // build and machine.
    std::string canonicalBytes() const;

    // FNV-1a (64 bits) of the canonical bytes.
    std::uint64_t hash() const;

    // The same game on a fresh layout: every hashed value taken over, the
    // rest as a new field has it (rows above the number of players as a new
    // game leaves them). What a game read back from its text is, and what
    // the computer players plan on, so that nothing a window set beside the
    // game can sway them.
    Game canonical() const;
};

// Equal when every hashed bit is equal: reals compare by bit pattern, so -0
// differs from 0 and a NaN equals the same NaN.
bool operator==(const Game& a, const Game& b);

// Label of a reached target n as the progression messages write it: letters
// above 25, 26 - n above 13, n itself otherwise.
std::string reachedTargetLabel(int n);

}  // namespace capzel
