// A game record played again with no window: the game is built from the
// record's setup as every game is (buildGame), its first turn starts as the
// session starts it, and then each entry is applied in turn. A shot is
// launched from its recorded inputs (a hand placement, the aim line, the
// strength) and run straight through on a turn controller as a window runs
// it, the hidden commands that came during it taken before their advance,
// and judged as the turn judges it; a command runs with its input boxes
// answered from the record; an undo restores the game as the last shot still
// in effect was launched. After each entry the game's hash and the rules'
// announcements are compared with the record's.
//
// A window that shows the game (Watch) drives a RecordReplay entry by entry:
// before each shot, state() and field() are the game the shot starts from
// and upcoming() holds its inputs; applyShotInputs() puts them on a copy
// that the window then launches itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/HiddenCommands.h"
#include "controls/LastShot.h"
#include "model/Field.h"
#include "model/GameState.h"
#include "players/PlannedShot.h"
#include "records/GameRecord.h"
#include "rules/Announcement.h"

namespace capzel {

class TurnController;

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
    // Set when the record cannot be played on from here: an input the game
    // cannot take (a seat whose turn it is not, a placement where none is
    // allowed, a command past its shot's end, a shot that never rests, an
    // undo with no shot to take back). Names the entry and its shot.
    std::string error;

    bool matches() const { return error.empty() && announcementsMatch && expectedHash == actualHash; }
    // One line: "shot 12 seat 2 0123456789abcdef ok" (or the mismatch).
    std::string describe() const;
};

class RecordReplay {
public:
    // Builds the game of the record and starts its first turn; startStep()
    // tells whether it begins as recorded. The replay keeps its own copy.
    explicit RecordReplay(GameRecord record);
    ~RecordReplay();
    RecordReplay(RecordReplay&&) noexcept;
    RecordReplay& operator=(RecordReplay&&) noexcept;

    const ReplayStep& startStep() const;

    // True once every entry was played, or an entry was refused.
    bool done() const;
    // Plays the next entry (done() must be false).
    ReplayStep next();
    // Whether an entry was refused or differed from the record so far.
    bool failed() const;

    // The game as the entries played so far left it.
    const GameState& state() const;
    const Field& field() const;
    // Shot entries played so far.
    int shotNumber() const;
    // The entry next() plays; null when done.
    const RecordEntry* upcoming() const;
    std::size_t nextEntry() const;
    const GameRecord& record() const;
    // The shot played last, as its run kept it: its start and the changes
    // the hidden commands made while it ran. Null before the first shot.
    const LastShot* lastShot() const;

private:
    struct Run;
    std::unique_ptr<Run> run_;
};

// The command a record names, and the name of a command (none: a command
// that is not recorded, as Set Guidelines, which changes no game).
GameCommand commandFunction(RecordedCommand command);
std::optional<RecordedCommand> recordedCommand(GameCommand command);

// Puts a shot's inputs on a game as the player left them at the launch: the
// hand placement, the aim line (shown) and the strength in Power.
void applyShotInputs(const RecordedShot& shot, GameState& g, Field& field);

// Plays a shot from its inputs straight through on `turn`, with no pacing:
// the inputs put on the game, the launch, and every advance until the shot
// is judged (its announcements wait in the turn), each of the shot's
// commands handed to `runCommand` before its advance. The empty text, or
// why the shot could not be played: it cannot be launched, its commands are
// out of order or come after its end, or the pieces never come to rest.
std::string playShotThrough(TurnController& turn, GameState& g, Field& field, const RecordedShot& shot,
                            const std::function<void(const CommandInput&)>& runCommand);

// The inputs of a shot a computer planned (players/PlannedShot.h), as a
// player at the board would give them: the aim from the shooter's piece
// centre, the strength of the bar's ticks. Its outcome is the caller's.
RecordedShot plannedShotInputs(const GameState& g, const Field& field, const players::PlannedShot& shot);

// The whole record played: how many shots were checked, and the first step
// that differed or was refused (none: every entry matched).
struct ReplayCheck {
    int shotsChecked = 0;
    std::optional<ReplayStep> firstMismatch;
    bool ok() const { return !firstMismatch; }
};
ReplayCheck replayWholeRecord(const GameRecord& record);

// The game right after shot `k` of the record (0: after the first turn
// start), every entry on the way checked against the record. False with
// `error` (when given) naming the entry when the way there differs or is
// refused, or when the record has fewer than k shots; `g` and `field` are
// then left as they were.
bool restoreToShot(const GameRecord& record, int k, GameState& g, Field& field, std::string* error = nullptr);

}  // namespace capzel
