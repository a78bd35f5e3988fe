// The main window's "Save Game" and "Load Game" commands, with the file
// dialogs, the busy pointer and the messages, through the platform.
#pragma once

#include <functional>
#include <string>

#include "model/GameContext.h"
#include "records/SavedGame.h"

namespace capzel {

inline constexpr const char* kLoadQuestion =
    "Loading a game will end the current game.  Are you sure you want to load?";

// Save: gathers the game, asks for a file name (cancel: nothing happens),
// writes the file under the busy pointer. A failed write is told in a message
// box that names the file and the reason. True when the file was written.
bool saveGameCommand(GameContext& ctx);

// Load: while a game runs, asks first (No: nothing happens, no dialog).
// Asks for a file starting in `programFolder`, reads and checks the whole
// file under the busy pointer, and applies it. A file that cannot be read or
// does not follow the format is told in a message box naming the file, the
// line and what is wrong, and the game stays as it was.
//
// The checked game goes to `beginLoadedGame` while the busy pointer is still
// shown: the game session builds it and starts its first turn, and the
// window restarts the music from song 1 and shows the status window. A
// caller without a session (a tool, a test) leaves it out and has the game
// built on `ctx`. The normal pointer comes back afterwards, and on every
// other way out. True when a game was loaded.
bool loadGameCommand(GameContext& ctx, const std::string& programFolder,
                     const std::function<void(const SavedGame&)>& beginLoadedGame = {});

}  // namespace capzel
