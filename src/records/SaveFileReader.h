// Reads the text of a ".CSG" file into a SavedGame, checking all of it
// first: a file that does not follow the format is refused as a whole, with
// the line and what is wrong, and nothing of it is used.
//
// Fields end at commas and line ends (CR LF or LF); labels are read and
// thrown away, so only the order of the values matters, but every line must
// hold exactly its fields. Text that is not valid UTF-8 is read as
// Windows-1252.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "records/SavedGame.h"

namespace capzel {

struct SaveFileError {
    int line = 0;      // 1-based line of the file; 0 when it is about the whole file
    std::string what;  // what is wrong, without a leading capital or a final full stop
};

struct SaveFileParse {
    std::optional<SavedGame> game;  // present when the file was accepted
    SaveFileError error;            // set otherwise

    explicit operator bool() const { return game.has_value(); }
};

// The largest file taken for a saved game, well beyond the largest the game
// writes (eight players with names at the limit take about 24 KB).
inline constexpr std::size_t kMaxSaveFileBytes = 1 << 20;

SaveFileParse parseSaveFile(std::string_view bytes);

// "Line 7: ..." or, for the whole file, the text with a capital.
std::string describeSaveFileError(const SaveFileError& error);

}  // namespace capzel
