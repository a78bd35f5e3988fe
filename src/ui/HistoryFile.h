// The game history file on disk: read for the Game History window, and a
// finished game added to it. Every write replaces the whole file through a
// temporary one, so a crash leaves the earlier games as they were. A file
// that cannot be read as a history is renamed aside (".broken") with a
// message, never overwritten.
#pragma once

#include <string>
#include <vector>

#include "records/GameHistory.h"

namespace capzel {
class Platform;
}

namespace capzel::ui {

struct HistoryFileState {
    std::vector<HistoryGame> games;  // oldest first
    std::string text;                // the file as read; empty for a new history
    std::string notice;              // for the player; empty when all went well
    bool writable = true;            // false when a broken file stayed where it is
};

// Renames what stands at `path` to the first free "<path>.broken",
// "<path>.broken-2", ...; gives the new name, or the empty text when that
// fails.
std::string setFileAside(const std::string& path);

// Reads the history at `path`. A missing file is an empty history; a broken
// one (not a history, not an ordinary file, far too large) is set aside.
HistoryFileState loadHistoryFile(Platform& files, const std::string& path);

// Adds `game` at the end of the history at `path`. Gives what the player
// must be told (a file set aside, a failed write), or the empty text.
std::string addToHistoryFile(Platform& files, const std::string& path, const HistoryGame& game);

}  // namespace capzel::ui
