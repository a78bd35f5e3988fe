// Where the whole-game records live on disk. The running game's record sits
// beside its autosave slot ("autosave.record.json" beside "autosave.CSG"),
// replaced safely after every judged shot. A finished game's record goes to
// the "records" folder of the per-user data folder, under a name drawn from
// its game-history line, so that a row of the Game History finds its record
// without reading any. The folder keeps the newest kMaxKeptRecords games;
// the oldest go first.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace capzel {
class Platform;
struct HistoryGame;
}  // namespace capzel

namespace capzel::ui {

inline constexpr std::size_t kMaxKeptRecords = 1000;
// A record larger than this is not one of this game's (some 200,000 shots).
inline constexpr std::size_t kMaxRecordBytes = std::size_t(32) * 1024 * 1024;

// The running game's record beside the autosave slot `autosavePath`.
std::string runningRecordFile(const std::string& autosavePath);

// The folder of finished games' records in the per-user data folder (not
// created here).
std::string recordsFolder();

// The file that keeps the record of the finished game `game` in `folder`.
std::string finishedRecordFile(const std::string& folder, const HistoryGame& game);

// Writes a finished game's record into `folder` (created when missing) and
// lets the oldest records go past kMaxKeptRecords. Gives what went wrong,
// or the empty text.
std::string keepFinishedRecord(Platform& files, const std::string& folder, const HistoryGame& game,
                               std::string_view recordText);

// Removes the oldest records of `folder` (by the time they were written)
// until at most `keep` are left.
void trimRecords(const std::string& folder, std::size_t keep);

// The kept record of `game`, when there is one.
std::optional<std::string> findFinishedRecord(const std::string& folder, const HistoryGame& game);

}  // namespace capzel::ui
