// A whole game as a record: the game it starts from, and every input in the
// order it came (shots, hidden commands between shots, undos). The engine
// and the rules are deterministic to the bit, so playing the inputs again
// from the start with no window gives the same game after every entry; each
// entry keeps the hash of the game it left, and what the rules announced, so
// that a replay can tell the first place where it differs (match/RecordReplay.h).
//
// The text form is one JSON object:
//   {"format": "capzel-game-record", "version": 2, "began": ..., "ended": ...,
//    "winner": 2 | null, "game": {...},
//    "start": {"hash": "0123456789abcdef", "announcements": [...]},
//    "entries": [{"type": "shot", ...}, ...]}
// on one line for the game and one line for each entry, "game" as
// records/GameText.h writes a game. Records of version 1 hold "setup" and
// "field" instead of "game", and still play. Reals are written so that they
// read back to the last bit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/Command.h"
#include "model/Game.h"
#include "model/GameSetup.h"
#include "platform/Platform.h"
#include "rules/Announcement.h"

namespace capzel {

// The longest record text read or written: a game of 2,000 shots with long
// announcements takes about 2 MiB.
constexpr std::size_t kMaxGameRecordBytes = 8 * 1024 * 1024;

// What every entry keeps of the game it left: the game's hash and what the
// rules announced, in order.
struct EntryOutcome {
    std::uint64_t hash = 0;
    std::vector<Announcement> announcements;
    bool operator==(const EntryOutcome&) const = default;
};

// The aim line's ends and whether it was shown, as a record keeps it.
struct AimState {
    float x1 = 0, y1 = 0;
    float x2 = 0, y2 = 0;
    bool visible = false;
    bool operator==(const AimState&) const = default;
};

// Records of the first version played a command or an undo on the game as
// the player had left it on the board: the aim line as it stood, the
// strength in the game (a charge under way) and a piece put by hand since
// the last launch. Newer records keep nothing of the kind: a window's aim
// never reaches the game before the shot.
struct BoardInputs {
    AimState pointer;
    std::int16_t power = 0;
    std::optional<HandPlacement> placement;  // the piece of the player whose turn it is
    bool operator==(const BoardInputs&) const = default;
};

// A shot as it was launched, and its outcome once judged.
struct RecordedShot : ShotCommand {
    EntryOutcome outcome;
    bool operator==(const RecordedShot&) const = default;
};

// A hidden command between two shots.
struct RecordedCommandEntry {
    std::optional<BoardInputs> before;  // first-version records only
    HiddenCommand command;
    EntryOutcome outcome;
    bool operator==(const RecordedCommandEntry&) const = default;
};

// The last shot still in effect is taken back: the game as it stood when
// that shot was launched (a hand placement kept), walls as they are.
struct RecordedUndo {
    std::optional<BoardInputs> before;  // first-version records only
    EntryOutcome outcome;
    bool operator==(const RecordedUndo&) const = default;
};

using RecordEntry = std::variant<RecordedShot, RecordedCommandEntry, RecordedUndo>;
const EntryOutcome& outcomeOf(const RecordEntry& entry);

// How records of the first version began: the setup the game was built
// from, and what the window had set on the field that play reads and the
// setup does not hold: the field's size and side lines, walls 9 and 10, and
// what a game took over from the game before it on the same field (the aim
// line, the holder's width, the pieces' speeds, the contact offsets). The
// game is built from these (match/RecordStart.h) and its first turn started.
struct RecordedField {
    float width = kClientWidth;
    float height = kClientHeight;
    float leftEdge = 0;
    float rightEdge = 0;
    std::array<Box, 2> outerWalls{};  // walls 9 and 10
    float pieceHolderWidth = 0;
    std::array<float, kMaxPlayers> velocityX{};
    std::array<float, kMaxPlayers> velocityY{};
    AimState pointer;
    double contactOffsetX = 0;
    double contactOffsetY = 0;
    bool operator==(const RecordedField&) const = default;
};

struct SetupStart {
    GameSetup setup;  // walls and every seat's colour filled in
    RecordedField field;
};

struct GameRecord {
    // The game the record starts from: a new game once its first turn has
    // started, or a game joined or taken over midway, as it stood.
    Game startGame;
    // Records of the first version hold how their game was built instead;
    // the start game is built from it when the record is played.
    std::optional<SetupStart> setupStart;
    EntryOutcome start;  // the start game's hash and what its first turn start said
    std::vector<RecordEntry> entries;

    // For a list of games: when it began and ended (ISO 8601, as the
    // caller gave them; empty: not known, or still running) and who won.
    std::string began;
    std::string ended;
    std::optional<int> winner;

    int shotCount() const;
    // The start game's seats (the setup's, in a first-version record), and
    // their players' names in seat order.
    int seatCount() const;
    std::vector<std::string> playerNames() const;
    bool operator==(const GameRecord&) const;
};

// The hash as a record writes it: 16 lower-case hexadecimal digits.
std::string hashText(std::uint64_t hash);
// The record as JSON text (always of the current version).
std::string writeGameRecord(const GameRecord& record);
// One entry's line as writeGameRecord writes it (without the line break), for
// a writer that adds a game's entries one by one as they come.
std::string writeRecordEntry(const RecordEntry& entry);

// The record the text holds, or nothing with `error` (when given) naming the
// first field that is wrong by its JSON pointer ("/entries/12/power"):
// text that is not JSON, another format or version, a text over
// kMaxGameRecordBytes, a value of the wrong type or outside its range (a seat
// that is not a player of the start game, a strength outside the bar's range
// 0 to strongestStrength(height)), a name longer than a saved game allows, a
// command caption that is not one of kHiddenCommandCaptions. Whether the
// inputs can be played is the rulebook's to tell, when the record is
// played. Never throws.
std::optional<GameRecord> readGameRecord(std::string_view text, std::string* error);

// Through the platform's one safe writer; the empty text on success,
// otherwise what went wrong.
std::string saveGameRecord(Platform& platform, const std::string& path, const GameRecord& record);
// Reads a record file; a missing or oversized file is refused like bad text.
std::optional<GameRecord> loadGameRecord(Platform& platform, const std::string& path, std::string* error);

}  // namespace capzel
