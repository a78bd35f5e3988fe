// A game record played again with no window, on a Match: the game starts as
// the record starts (match/RecordStart.h), then each entry is played in turn
// through the rulebook (a shot with the hidden commands that came while it
// ran, a command with its recorded answers, an undo), and after each the
// game's hash and the rules' announcements are compared with the record's.
//
// Watch drives one entry by entry: before each entry, game() is the game it
// starts from and upcoming() holds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "match/Match.h"
#include "records/GameRecord.h"
#include "rules/Announcement.h"

namespace capzel {

enum class EntryKind { Start, Shot, Command, Undo };

// What playing one entry gave.
struct ReplayStep {
    std::size_t entry = 0;  // index in the record's entries (0 for the start)
    EntryKind kind = EntryKind::Start;
    int shotNumber = 0;     // shot entries played so far, this one included
    int seat = 0;           // who shot; for other entries whose turn it was
    std::vector<Announcement> announcements;  // what the replay's rules said
    std::uint64_t expectedHash = 0;           // the record's
    std::uint64_t actualHash = 0;             // the replay's
    bool announcementsMatch = true;
    // Set when the record cannot be played on from here: an input the
    // rulebook refuses (a seat whose turn it is not, a placement where none
    // is allowed, ...), a command past its shot's end, an undo with no shot
    // to take back. Names the entry and its shot.
    std::string error;

    bool matches() const { return error.empty() && announcementsMatch && expectedHash == actualHash; }
    // One line: "shot 12 seat 2 0123456789abcdef ok" (or the mismatch).
    std::string describe() const;
};

class RecordReplay {
public:
    // Starts the record's game; startStep() tells whether it begins as
    // recorded. The replay keeps its own copy of the record.
    explicit RecordReplay(GameRecord record);

    const ReplayStep& startStep() const { return start_; }

    // True once every entry was played, or an entry was refused.
    bool done() const;
    // Plays the next entry (done() must be false).
    ReplayStep next();
    // Whether an entry was refused or differed from the record so far.
    bool failed() const;

    // The game as the entries played so far left it.
    const Game& game() const { return match_.game(); }
    const Match& match() const { return match_; }
    // Shot entries played so far.
    int shotNumber() const { return shots_; }
    // The entry next() plays; null when done.
    const RecordEntry* upcoming() const;
    std::size_t nextEntry() const { return next_; }
    const GameRecord& record() const { return record_; }

private:
    void finish(ReplayStep& step, const EntryOutcome& expected, std::vector<Announcement> said);
    std::string playShot(const RecordedShot& shot, ReplayStep& step);

    GameRecord record_;
    Match match_;
    ReplayStep start_;
    std::size_t next_ = 0;
    int shots_ = 0;
    bool refused_ = false;
    bool differed_ = false;
};

// The whole record played: how many shots were checked, and the first step
// that differed or was refused (none: every entry matched).
struct ReplayCheck {
    int shotsChecked = 0;
    std::optional<ReplayStep> firstMismatch;
    bool ok() const { return !firstMismatch; }
};
ReplayCheck replayWholeRecord(const GameRecord& record);

// The game right after shot `k` of the record (0: as it starts), every
// entry on the way checked against the record. Nothing, with `error` (when
// given) naming the entry, when the way there differs or is refused, or
// when the record has fewer than k shots.
std::optional<Game> gameAfterShot(const GameRecord& record, int k, std::string* error = nullptr);

}  // namespace capzel
