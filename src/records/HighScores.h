// The high-score file "Capzel.CHS": ten lines, best first, each a name in
// double quotes and a whole-number score, in the saved game's delimited
// format. The game only reads it, and writes the default table when the
// file cannot be read.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace capzel {

inline constexpr const char* kHighScoreFileName = "Capzel.CHS";
inline constexpr int kHighScoreRows = 10;
// Only the start of the file is read: ten lines of names and scores need a
// small part of it, and a huge file would keep the window from opening.
inline constexpr std::size_t kMaxHighScoreFileBytes = 64 * 1024;

struct HighScoreRow {
    std::string name;                // empty when the line gave none
    std::optional<long long> score;  // empty when the line gave no whole number

    std::string scoreText() const { return score ? std::to_string(*score) : std::string(); }
    bool operator==(const HighScoreRow&) const = default;
};

// Row 1 of the window is element 0.
using HighScoreTable = std::array<HighScoreRow, kHighScoreRows>;

// "Norvin Telk" with 100, 90, ... 10.
HighScoreTable defaultHighScores();

// The default table as the file holds it (CR LF line ends).
std::string defaultHighScoreFile();

// Reads the file's text, shown unsorted in the file's order. Line k gives
// row k: its first field is the name and its second the score. The reading
// is forgiving, as the file is meant to be edited by hand: a missing line
// leaves its row empty, a line that cannot be split into fields leaves its
// row empty, a score that is not a whole number leaves the score empty but
// keeps the name, further fields and lines after the tenth are ignored, and
// a name is cut to the length of a player's name (saveLimits::kMaxNameLength).
// Text that is not valid UTF-8 is read as Windows-1252.
HighScoreTable parseHighScores(std::string_view bytes);

// Reads the table from the first kMaxHighScoreFileBytes of the regular file
// at `path`. When the file cannot be read, writes the default table there
// first and reads it again; if it still cannot be read (a folder that cannot
// be written, a device or a named pipe in the file's place, which is never
// replaced), the default table is shown anyway.
HighScoreTable loadHighScores(Platform& platform, const std::string& path);

// The file's place: the program's folder when it can be written, otherwise
// the per-user data folder of the desktop (an installed copy).
std::string highScoreFilePath(const std::string& programFolder, bool programFolderWritable,
                              const std::string& userDataFolder);

}  // namespace capzel
