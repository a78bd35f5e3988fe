// A game snapshot as text: one JSON object, "version": 1, that reads back
// as the same snapshot to the last bit. Finite reals are JSON numbers (the
// shortest decimal that reads back as the same double; a float is written as
// the double it widens to, so it reads back exactly too); NaN and the
// infinities, which JSON has no number for, are written as their bit pattern
// in hexadecimal ("7fc00000" for a float, 16 digits for a double).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "model/GameSnapshot.h"

namespace capzel {

// The longest snapshot text read: a game of eight players with the longest
// names takes about 10 KiB.
constexpr std::size_t kMaxSnapshotTextBytes = 64 * 1024;

// The snapshot as one line of JSON. A snapshot taken before any game (no
// players) is written, but the reader refuses it like any other count outside
// 1 to 8.
std::string writeSnapshot(const GameSnapshot& s);

// The snapshot the text holds, or nothing with `error` (when given) naming
// the first field that is wrong: an unknown version, a value of the wrong
// type or outside its range, 1 to 8 players, a table of the wrong length, a
// name of more than 40 characters, a text over kMaxSnapshotTextBytes.
// Never throws.
std::optional<GameSnapshot> readSnapshot(std::string_view text, std::string* error);

}  // namespace capzel
