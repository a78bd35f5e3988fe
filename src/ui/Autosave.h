// The running game kept on disk, so that closing the program or a crash
// loses nothing: after every judged shot (and when a game starts, is loaded
// or a shot is taken back) the game is written in the saved-game format to
// "autosave.CSG" in the per-user data folder, replacing the file safely. A
// game that has ended removes the file. At the next start the game in it may
// be resumed.
#pragma once

#include <optional>
#include <string>

#include "records/SavedGame.h"

namespace capzel {
class Platform;
struct GameState;
struct Board;
}  // namespace capzel

namespace capzel::ui {

inline constexpr const char* kResumeQuestion = "Resume the unfinished game from last time?";

// The file: "autosave.CSG" in the per-user data folder.
std::string autosaveFile();

// Writes the running game to `path`, or removes the file when no game runs.
// Gives what went wrong, or the empty text.
std::string keepAutosave(Platform& files, const GameState& g, const Board& board, const std::string& path);

struct AutosaveReading {
    std::optional<SavedGame> game;  // an unfinished game to offer
    std::string notice;             // for the player: the file was broken and set aside
};

// Reads `path` at start-up. A missing file, or one without players, offers
// nothing; a file that is not a saved game is renamed aside with a notice.
AutosaveReading readAutosave(Platform& files, const std::string& path);

}  // namespace capzel::ui
