// The one way the game replaces a file on disk (saved games, score tables,
// the simulator's files): the new bytes go to a temporary file beside the
// old one, every step is checked, and only a complete file that has reached
// the disk is renamed over the old one. Shared by the game's windows and
// the simulator.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace capzel {

// Replaces the file at `path` with `content`: a temporary file in the same
// folder is written (a full disk shows at the write that meets it), synced
// to the disk and renamed over the old file, and the folder is synced so
// that the rename lasts. A link is followed: its target is replaced and the
// link stays. A replaced file keeps its permissions. Gives the empty text
// on success, otherwise "The file "<path>" could not be <step>: <reason>."
// with the step that failed (replaced, created, written or saved); up to the
// rename the old file is left byte for byte and the temporary file removed.
// What is not a regular file (a folder, a device, a named pipe) is never
// replaced.
std::string writeFileSafely(const std::string& path, std::string_view content);

// Removes the temporary files that writeFileSafely() left in `folder` (not
// its subfolders) when its program was killed half-way: those of a program
// that no longer runs. Another copy of the program still running keeps its
// own. Gives how many were removed.
int removeStaleTemporaryFiles(const std::string& folder);

// Writes all of `bytes` to the open file `fd` from byte `at` on, going on
// after interrupted and short writes. False with errno set when a write
// fails; a write that takes nothing counts as a full disk (ENOSPC).
bool writeAllAt(int fd, std::string_view bytes, std::size_t at);

}  // namespace capzel
