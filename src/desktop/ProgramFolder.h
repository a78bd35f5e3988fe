// The program's own folder, where the load dialog opens and the high-score
// file lives, and the places of that file and of the game history.
#pragma once

#include <string>

namespace capzel::ui {

// The folder that holds the program (no trailing separator).
std::string programFolder();

// Replaces the program's folder (tests); the empty text restores it.
void setProgramFolder(const std::string& folder);

// True when a file can be created in `folder` (tried, not guessed from the
// permission bits: a read-only mount or an administrator's rights tell the
// bits wrong).
bool folderWritable(const std::string& folder);

// True for an installed copy: the program sits in a folder of programs with
// its songs in the shared data folder beside it (`../share/capzel`), not in
// a `media` folder of its own.
bool installedCopy(const std::string& folder);

// The shared data folder of an installed copy in `folder`.
std::string installedDataFolder(const std::string& folder);

// The per-user data folder of the desktop, created when missing.
std::string userDataFolder();

// The high-score file: "Capzel.CHS" in the program's folder, or, for an
// installed copy or when that folder cannot be written, in the per-user data
// folder of the desktop, which is created when missing. An installed copy
// keeps every user's scores apart even where its folder could be written
// (an administrator's run).
std::string highScoreFile();

// The game history, in the per-user data folder whatever the program's
// folder (every player keeps a history of their own).
std::string historyFile();

}  // namespace capzel::ui
