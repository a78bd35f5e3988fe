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

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/GameState.h"

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
HistoryGame finishedGame(const GameState& g, std::string date);

// "Human", "Novice", "Club" or "Expert".
const char* playerKindName(PlayerKind kind);

// One line of the file, with its CR LF. Names carry no double quote or line
// break (they are stored as the saved games store them).
std::string historyLine(const HistoryGame& game);

struct HistoryReading {
    std::vector<HistoryGame> games;  // in the file's order, oldest first
    int errorLine = 0;               // 0 when the whole file was read
    std::string error;               // what is wrong with that line
    bool ok() const { return errorLine == 0; }
};

// Reads a history file. The head line is optional and blank lines are
// skipped; any other line that is not a game as historyLine() writes it
// makes the whole file unreadable, since a file edited or cut short by
// hand may hold anything.
HistoryReading readHistory(std::string_view bytes);

// The file's text with `game` added at its end (a new file begins with the
// head line).
std::string historyWithGame(std::string_view current, const HistoryGame& game);

struct WinCount {
    std::string name;
    int wins = 0;
    bool operator==(const WinCount&) const = default;
};

// Every name that played, with the games it won: most wins first, then by
// name.
std::vector<WinCount> winsPerName(const std::vector<HistoryGame>& games);

}  // namespace capzel
