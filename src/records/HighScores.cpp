#include "records/HighScores.h"

#include <charconv>

#include "records/DelimitedText.h"
#include "records/SavedGame.h"
#include "records/TextEncoding.h"

namespace capzel {

namespace {

constexpr const char* kDefaultName = "Norvin Telk";

std::optional<long long> wholeScore(std::string_view s) {
    if (s.size() > 1 && s[0] == '+' && s[1] != '-') s.remove_prefix(1);
    long long v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
    return v;
}

std::string joinPath(const std::string& folder, const char* name) {
    if (folder.empty()) return name;
    if (folder.back() == '/' || folder.back() == '\\') return folder + name;
    return folder + "/" + name;
}

}  // namespace

HighScoreTable defaultHighScores() {
    HighScoreTable t;
    for (int i = 0; i < kHighScoreRows; ++i) t[std::size_t(i)] = {kDefaultName, 100 - 10 * i};
    return t;
}

std::string defaultHighScoreFile() {
    std::string out;
    for (const HighScoreRow& row : defaultHighScores())
        out += "\"" + row.name + "\"," + row.scoreText() + "\r\n";
    return out;
}

HighScoreTable parseHighScores(std::string_view bytes) {
    HighScoreTable table;
    const std::vector<DelimitedLine> lines = splitDelimited(decodeFileText(bytes));
    for (std::size_t i = 0; i < lines.size() && i < table.size(); ++i) {
        const DelimitedLine& line = lines[i];
        if (!line.error.empty()) continue;
        // A name longer than a player's can be is cut there: the row shows
        // only its start, and laying out a huge one would hold the window up.
        if (line.fields.size() >= 1)
            table[i].name = std::string(utf8Prefix(line.fields[0].text, saveLimits::kMaxNameLength));
        if (line.fields.size() >= 2) table[i].score = wholeScore(line.fields[1].text);
    }
    return table;
}

HighScoreTable loadHighScores(Platform& platform, const std::string& path) {
    std::optional<std::string> bytes = platform.readFile(path, kMaxHighScoreFileBytes);
    if (!bytes) {
        platform.writeFile(path, defaultHighScoreFile());
        bytes = platform.readFile(path, kMaxHighScoreFileBytes);
        if (!bytes) return defaultHighScores();
    }
    return parseHighScores(*bytes);
}

std::string highScoreFilePath(const std::string& programFolder, bool programFolderWritable,
                              const std::string& userDataFolder) {
    return joinPath(programFolderWritable ? programFolder : userDataFolder, kHighScoreFileName);
}

}  // namespace capzel
