// Files that may be hostile: only a regular file is read (links followed),
// and never more than the caller's limit, so that a device, a named pipe or
// a huge file can neither block the game nor fill its memory. Shared by the
// game's windows and the simulator.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace capzel {

// At most `maxBytes` bytes from the start of the regular file at `path`.
// Nothing when the path does not exist, is not a regular file (a folder, a
// device, a named pipe, a socket) or cannot be read.
std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes);

// True when something that is not a regular file stands at `path` (links
// followed). Such a path is never replaced by a save.
bool isSpecialFile(const std::string& path);

}  // namespace capzel
