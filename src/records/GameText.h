// A game as text: one JSON object, "version": 1, that reads back as the
// same game to the last bit (every hashed value; what the hash leaves out is
// as a new layout has it). Finite reals are JSON numbers (the
// shortest decimal that reads back as the same double; a float is written as
// the double it widens to, so it reads back exactly too); NaN and the
// infinities, which JSON has no number for, are written as their bit pattern
// in hexadecimal ("7fc00000" for a float, 16 digits for a double).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "model/Game.h"

namespace capzel {

// The longest game text read: a game of eight players with the longest
// names takes about 10 KiB.
constexpr std::size_t kMaxGameTextBytes = 64 * 1024;

// The game as one line of JSON (players 1..numberOfPlayers). A game taken
// before any game began (no players) is written, but the reader refuses it
// like any other count outside 1 to 8.
std::string writeGameText(const Game& g);

// The game the text holds, or nothing with `error` (when given) naming the
// first field that is wrong: an unknown version, a value of the wrong type
// or outside its range, 1 to 8 players, a table of the wrong length, a name
// of more than 40 characters, a text over kMaxGameTextBytes. The rows above
// the number of players are as a new game leaves them. Never throws.
std::optional<Game> readGameText(std::string_view text, std::string* error);

}  // namespace capzel
