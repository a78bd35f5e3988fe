// The layout of a ".CSG" saved-game file, shared by its writer and reader:
// the head line, then the number of players and the current turn, then
// sixteen lines per player, each a value followed by its label.
#pragma once

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <string>
#include <optional>
#include <string_view>

#include "model/PlayerKind.h"
#include "records/SavedGame.h"
#include "records/TextEncoding.h"

namespace capzel {

inline constexpr std::string_view kSaveHeadLine =
    "Editing this save game file could result in errors when the game is loaded.  Edit under own risk.";
inline constexpr std::string_view kPlayersLabel = " = Number of players";
inline constexpr std::string_view kTurnLabel = " = Current turn";

// What the file dialogs offer.
inline constexpr std::string_view kSaveFilterText = "Capzel save game (*.CSG)";
inline constexpr std::string_view kSaveFilterPattern = "*.CSG";

inline constexpr int kSaveHeadLines = 3;
inline constexpr int kSaveLinesPerPlayer = 16;

// How a value is written.
enum class SaveValueKind { Text, Truth, Real, Whole, QuotedWhole };

struct SaveRow {
    SaveValueKind kind;
    std::string_view labelTail;  // the label is " = " + name + labelTail (row 1: see below)
    std::string_view what;       // how a message names the value
};

// Row 1's label is " = Player <i> name" instead.
inline constexpr std::array<SaveRow, kSaveLinesPerPlayer> kSaveRows = {{
    {SaveValueKind::Text, " name", "name"},
    {SaveValueKind::Truth, " dead", "\"dead\" value"},
    {SaveValueKind::Truth, " in game", "\"in game\" value"},
    {SaveValueKind::Truth, " is a killer", "\"is a killer\" value"},
    {SaveValueKind::Truth, " on A, B, C, or D", "\"on A, B, C, or D\" value"},
    {SaveValueKind::Truth, " losing turn", "\"losing turn\" value"},
    {SaveValueKind::Truth, " moveable next turn", "\"moveable next turn\" value"},
    {SaveValueKind::Truth, " heading in reverse", "\"heading in reverse\" value"},
    {SaveValueKind::Real, " friction", "friction"},
    {SaveValueKind::Whole, " score", "score"},
    {SaveValueKind::Whole, " color (in long)", "colour"},
    {SaveValueKind::Whole, " height", "piece height"},
    {SaveValueKind::Whole, " left", "piece left"},
    {SaveValueKind::Whole, " top", "piece top"},
    {SaveValueKind::Whole, " width", "piece width"},
    {SaveValueKind::QuotedWhole, " current Position", "position"},
}};

// Row numbers (0-based) within a player's sixteen lines.
enum SaveRowIndex {
    kRowName, kRowDead, kRowInGame, kRowIsKiller, kRowOnLetters, kRowLosingTurn,
    kRowMoveableNextTurn, kRowHeadingInReverse, kRowFriction, kRowScore, kRowColor,
    kRowHeight, kRowLeft, kRowTop, kRowWidth, kRowPosition,
};

// Who plays each seat follows the players' lines, and only when a computer
// plays: a head line of its own, then one line per player, the seat's name
// ("Human", "Novice", "Club", "Strong" or "Expert") and the label
// " = <name> seat". A file without these lines is a game of people only; a
// reader that stops after the players' lines reads every game the same.
// Files from before the Strong level name only the other four in their head
// line; it is still read, and still written when no seat is Strong, so that
// such a game keeps the bytes it always had.
inline constexpr std::string_view kSeatsHeadLine =
    "Who plays each seat: Human, or the computer at Novice, Club, Strong or Expert level.";
inline constexpr std::string_view kSeatsHeadLineBeforeStrong =
    "Who plays each seat: Human, or the computer at Novice, Club or Expert level.";
inline constexpr std::string_view kSeatLabelTail = " seat";

inline constexpr std::string_view seatName(PlayerKind kind) { return playerKindName(kind); }

inline std::optional<PlayerKind> seatFromName(std::string_view name) {
    for (PlayerKind k : kPlayerKinds)
        if (seatName(k) == name) return k;
    return std::nullopt;
}

// A score beyond what the score line holds (a 16-bit whole number) keeps the
// score line held to -32768..32767 and follows the players' lines in full,
// and only then: a head line of its own, then one line per player, the whole
// score and the label " = <name> whole score". A file without these lines
// holds every score in its score line; a reader that stops after the
// players' lines reads every game the same. The seat lines and these may
// stand in either order.
inline constexpr std::string_view kScoresHeadLine =
    "The players' scores in full, where one goes beyond -32768 to 32767.";
inline constexpr std::string_view kScoreLabelTail = " whole score";

// The score as the score line holds it.
inline constexpr std::int16_t classicScore(std::int32_t score) {
    return std::int16_t(std::clamp<std::int32_t>(score, INT16_MIN, INT16_MAX));
}

// A player's name as the file can carry it: UTF-8 (other bytes taken as
// Windows-1252), at most saveLimits::kMaxNameLength characters, a double
// quote becomes an apostrophe, and a line break or other control character
// becomes a blank. The writer stores names so and the reader gives them back
// so.
inline std::string nameForSaveFile(std::string_view name) {
    const std::string text = isValidUtf8(name) ? std::string(name) : windows1252ToUtf8(name);
    std::string out(utf8Prefix(text, saveLimits::kMaxNameLength));
    for (char& c : out) {
        if (c == '"') c = '\'';
        else if (std::uint8_t(c) < 0x20 || c == 0x7F) c = ' ';
    }
    return out;
}

}  // namespace capzel
