// A whole game as a record: how it was set up, and every turn's inputs in
// the order they came (shots, hidden commands between shots, undos). The
// engine and the rules are deterministic to the bit, so playing the inputs
// again from the setup with no window gives the same game after every entry;
// each entry keeps the state hash it left, and what the rules announced, so
// that a replay can tell the first place where it differs
// (session/RecordReplay.h).
//
// The text form is one JSON object:
//   {"format": "capzel-game-record", "version": 1, "began": ..., "ended": ...,
//    "winner": 2 | null, "setup": {...}, "field": {...},
//    "start": {"hash": "0123456789abcdef", "announcements": [...]},
//    "entries": [{"type": "shot", ...}, ...]}
// on one line for the game and one line for each entry. Reals are written
// as SnapshotText writes them (they read back to the last bit).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/Field.h"
#include "model/GameSetup.h"
#include "model/GameSnapshot.h"
#include "platform/Platform.h"
#include "rules/Announcement.h"

namespace capzel {

// The longest record text read or written: a game of 2,000 shots with long
// announcements takes about 2 MiB.
constexpr std::size_t kMaxGameRecordBytes = 8 * 1024 * 1024;

// The hidden commands that change a game (controls/HiddenCommands.h), by the
// captions a record names them with. "Set Guidelines" changes no game and is
// never recorded.
enum class RecordedCommand { SetPosition, SetFriction, SetSpeed, SetPiece, SetInGame };
inline constexpr std::array<const char*, 5> kRecordedCommandCaptions = {"Set Position", "Set Friction", "Set Speed",
                                                                       "Set Piece", "Set Ingame"};
const char* commandCaption(RecordedCommand command);
std::optional<RecordedCommand> commandNamed(std::string_view caption);

// A hidden command and the answers its input boxes got, in the order they
// were asked (an empty answer is a Cancel).
struct CommandInput {
    RecordedCommand command = RecordedCommand::SetPosition;
    std::vector<std::string> answers;
    bool operator==(const CommandInput&) const = default;
};

// A hidden command that came while a shot ran, before advance number
// `advance` (counted from 0) of the shot's run.
struct MidShotCommand {
    long advance = 0;
    CommandInput input;
    bool operator==(const MidShotCommand&) const = default;
};

// Where the shooter's piece was put by hand (Shift and the mouse) before
// the shot, in twips.
struct HandPlacement {
    float left = 0;
    float top = 0;
    bool operator==(const HandPlacement&) const = default;
};

// What every entry keeps of the game it left: the state hash
// (stateHash(captureSnapshot(...))) and what the rules announced, in order.
struct EntryOutcome {
    std::uint64_t hash = 0;
    std::vector<Announcement> announcements;
    bool operator==(const EntryOutcome&) const = default;
};

// A shot as it was launched, and its outcome once judged.
struct RecordedShot {
    int seat = 1;                 // the player who shot
    float x1 = 0, y1 = 0;         // the aim line's ends: the piece goes away from
    float x2 = 0, y2 = 0;         // the second end, towards the first
    std::int16_t power = 0;       // the strength from the bar, before the launch's curve
    std::optional<HandPlacement> placement;
    std::vector<MidShotCommand> commands;  // in the order they came
    EntryOutcome outcome;
    bool operator==(const RecordedShot&) const = default;
};

// What the player had done on the board when a command or an undo came
// between two shots: the aim line as it stood, the strength in Power (a
// charge under way) and a piece put by hand since the last launch.
struct BoardInputs {
    SnapshotLine pointer;
    std::int16_t power = 0;
    std::optional<HandPlacement> placement;  // the piece of the player whose turn it is
};

// A hidden command between two shots.
struct RecordedCommandEntry {
    BoardInputs before;
    CommandInput input;
    EntryOutcome outcome;
};

// The last shot still in effect is taken back: the game as it stood when
// that shot was launched (a hand placement kept), walls as they are.
struct RecordedUndo {
    BoardInputs before;
    EntryOutcome outcome;
};

using RecordEntry = std::variant<RecordedShot, RecordedCommandEntry, RecordedUndo>;
const EntryOutcome& outcomeOf(const RecordEntry& entry);

// What the window sets on the field that play reads and the setup does not
// hold: the field's size and side lines, walls 9 and 10, and what a game
// takes over from the game before it on the same field (the aim line, the
// holder's width, the pieces' speeds, the contact offsets).
struct RecordedField {
    float width = kClientWidth;
    float height = kClientHeight;
    float leftEdge = 0;
    float rightEdge = 0;
    std::array<SnapshotBox, 2> outerWalls{};  // walls 9 and 10
    float pieceHolderWidth = 0;  // a game with pieces on the field keeps the holder's width
    // The pieces' speeds, which a game built on the field of another keeps.
    std::array<float, kMaxPlayers> velocityX{};
    std::array<float, kMaxPlayers> velocityY{};
    SnapshotLine pointer;
    double contactOffsetX = 0;
    double contactOffsetY = 0;
};

// The field's values as they stand after the game was built, and put back
// on a field after building the game again.
RecordedField recordField(const Field& field);
void applyRecordedField(const RecordedField& recorded, Field& field);

// Every player's piece in its player's colour, as the window paints them
// when it shows the game (a piece waiting in the holder has kept the
// colour it had). A recorded game begins so, and so does its replay.
void paintPlayerColors(const GameState& g, Field& field);

struct GameRecord {
    // The game as it was built: walls and every seat's colour filled in.
    GameSetup setup;
    RecordedField field;
    EntryOutcome start;  // the game after its first turn started
    std::vector<RecordEntry> entries;

    // For a list of games: when it began and ended (ISO 8601, as the
    // caller gave them; empty: not known, or still running) and who won.
    std::string began;
    std::string ended;
    std::optional<int> winner;

    int shotCount() const;
    bool operator==(const GameRecord&) const;
};

// The hash as a record writes it: 16 lower-case hexadecimal digits.
std::string hashText(std::uint64_t hash);
// The hash of the game as it stands.
std::uint64_t gameHash(const GameState& g, const Field& field);

// The record as JSON text.
std::string writeGameRecord(const GameRecord& record);

// The record the text holds, or nothing with `error` (when given) naming the
// first field that is wrong by its JSON pointer ("/entries/12/power"):
// text that is not JSON, another format or version, a text over
// kMaxGameRecordBytes, a value of the wrong type or outside its range (a seat
// that is not a player of the setup, a strength outside the bar's range 0 to
// maxRecordedPower(height)), a name longer than a saved game allows, a
// command caption that is not one of kRecordedCommandCaptions. A command at
// an advance past its shot's end is found by the replay. Never throws.
std::optional<GameRecord> readGameRecord(std::string_view text, std::string* error);

// The strongest launch the power bar gives on a field of that height.
int maxRecordedPower(float fieldHeight);

// Through the platform's one safe writer; the empty text on success,
// otherwise what went wrong.
std::string saveGameRecord(Platform& platform, const std::string& path, const GameRecord& record);
// Reads a record file; a missing or oversized file is refused like bad text.
std::optional<GameRecord> loadGameRecord(Platform& platform, const std::string& path, std::string* error);

}  // namespace capzel
