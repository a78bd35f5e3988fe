// The game history file on disk: read for the Game History window, and a
// finished game added to it. Two running copies of the game share the file,
// so every change is made under a lock file ("history.csv.lock", taken over
// when the copy that left it has gone). A game is added by writing its line
// at the end of the file, never by rewriting the earlier games, so a crash
// keeps them; what a crash leaves of a line cut short is dropped before the
// next game is added. A file that cannot be read as a history is renamed
// aside (".broken") with a message, never overwritten.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "records/GameHistory.h"

namespace capzel {
class Platform;
}

namespace capzel::ui {

// A history file larger than this is not a history (some 1.5 million
// games): 128 MB.
inline constexpr std::size_t kMaxHistoryBytes = std::size_t(128) * 1024 * 1024;

struct HistoryFileState {
    // The file as read; empty for a new history.
    std::shared_ptr<const std::string> text = std::make_shared<const std::string>();
    std::vector<std::size_t> starts;          // where its game lines begin, oldest first
    std::string notice;                       // for the player; empty when all went well
};

// Renames what stands at `path` to the first free "<path>.broken",
// "<path>.broken-2", ...; gives the new name, or the empty text when that
// fails.
std::string setFileAside(const std::string& path);

// Reads the history at `path` and finds its lines; only its first and last
// game are read here (the Game History window reads the others as it shows
// them and counts the wins). A missing file is an empty history; a broken
// one (not an ordinary file, far too large, a first or last line that is
// not a game) is set aside.
HistoryFileState loadHistoryFile(Platform& files, const std::string& path);

// Sets the history at `path` aside because of `why` (a line of it found not
// to be a game); gives the message for the player.
std::string setBrokenHistoryAside(const std::string& path, const std::string& why);

struct HistoryAddition {
    std::string notice;  // what the player must be told (a file set aside, a failed write)
    bool added = false;  // the game is in the file
};

// Adds `game` at the end of the history at `path`. Only the end of the file
// is read (a torn last line is dropped there, and a last line that is not a
// game sets the file aside), so the time does not grow with the history.
HistoryAddition addToHistoryFile(const std::string& path, const HistoryGame& game);

// Empties the history at `path` ("Clear History..."), under its lock: the
// file stays where it is, with its rights, and holds no game. A missing
// file is already empty. Gives the message for the player when it fails
// (something other than a file stands there, no rights, the lock is held).
std::string clearHistoryFile(const std::string& path);

}  // namespace capzel::ui
