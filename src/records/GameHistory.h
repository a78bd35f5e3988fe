// The game history: one line for every finished game, appended to a file in
// the player's own data folder. A line holds the date, the number of
// players, the winner (0 when nobody won), the shots taken, then name, seat
// and final score of every player, in the delimited format of the saved
// games (text in double quotes, commas between fields, CR LF line ends):
//
//     "2026-12-06 17:42",2,2,31,"Ann","Human",245,"Bob","Expert",512
//
// The classic high-score table is another file and is never touched here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "model/Game.h"

namespace capzel {

inline constexpr const char* kHistoryFileName = "history.csv";

// The first line of a new history file, so that a person opening it knows
// what the fields are.
inline constexpr std::string_view kHistoryHeadLine =
    "\"Capzel game history: date, players, winner, shots, then name, seat and score of each player\"";

struct HistoryPlayer {
    std::string name;
    PlayerKind kind = PlayerKind::Human;
    std::int32_t score = 0;
    bool operator==(const HistoryPlayer&) const = default;
};

struct HistoryGame {
    std::string date;
    int winner = 0;  // player number, 0 when nobody won
    int shots = 0;
    std::vector<HistoryPlayer> players;
    bool operator==(const HistoryGame&) const = default;

    // The winner's name, or the empty text when nobody won.
    std::string winnerName() const;
};

// The finished game that `g` holds, played until `date`. The winner is the
// current player when every other player is dead (a one-player game won by
// completing the course included); a game that ended with nobody alive has
// no winner.
HistoryGame finishedGame(const Game& g, std::string date);

// One line of the file, with its CR LF. Names carry no double quote or line
// break (they are stored as the saved games store them).
std::string historyLine(const HistoryGame& game);

// One game line of a history file, without its line end, read into `game`:
// the empty text when it is a game as historyLine() writes it, otherwise
// what is wrong with it. Each line is decoded on its own (UTF-8, or
// Windows-1252 for lines of older versions).
std::string readHistoryLine(std::string_view line, HistoryGame& game);

struct HistoryLines {
    std::vector<std::size_t> starts;  // where every game line begins, oldest first
    std::size_t kept = 0;             // the bytes that stay: all but a torn last line
};

// Where the game lines of `bytes` begin: the head line (when it is the
// first line) and blank lines are left out. A line ends with CR LF, LF or
// a lone CR. A last line without its line end that is not a game, after
// other lines, is what a crash left of a write cut short: it is left out
// and not kept. `fromFileStart` false: `bytes` are the end of a file that
// may begin inside a line, so everything up to the first line end is
// skipped.
HistoryLines historyLines(std::string_view bytes, bool fromFileStart = true);

// The line that begins at `start` of `bytes`, without its line end.
std::string_view historyLineAt(std::string_view bytes, std::size_t start);

// The number (from 1) of the line of `bytes` that begins at `start`.
int historyLineNumber(std::string_view bytes, std::size_t start);

struct HistoryReading {
    std::vector<HistoryGame> games;  // in the file's order, oldest first
    int errorLine = 0;               // 0 when the whole file was read
    std::string error;               // what is wrong with that line
    bool ok() const { return errorLine == 0; }
};

// Reads a history file. The head line is optional and blank lines are
// skipped; any other line that is not a game as historyLine() writes it
// makes the whole file unreadable, since a file edited by hand may hold
// anything (a torn last line excepted, see historyLines()).
HistoryReading readHistory(std::string_view bytes);

// Reads the game lines of `bytes` that begin at `starts`, in that order,
// handing every game to `take` until a line is not a game or `take` gives
// false. The games stay out of the result; its error names the bad line.
HistoryReading readHistoryGames(std::string_view bytes, const std::vector<std::size_t>& starts,
                                const std::function<bool(HistoryGame&&)>& take);

// What to write after `kept` (the file's text so far, or its end) to add
// `game`: a new file begins with the head line, and a last line without
// its line end gets one first.
std::string historyAddition(std::string_view kept, const HistoryGame& game);

struct WinCount {
    std::string name;
    int wins = 0;
    bool operator==(const WinCount&) const = default;
};

// The wins of every name that played in the games added so far.
class WinTally {
public:
    void add(const HistoryGame& game);
    // Every name, most wins first, then by name.
    std::vector<WinCount> table() const;

private:
    std::map<std::string, int> wins_;
};

}  // namespace capzel
