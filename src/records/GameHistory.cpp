#include "records/GameHistory.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "records/DelimitedText.h"
#include "records/SaveFileLayout.h"
#include "records/TextEncoding.h"
#include "rules/TurnPassing.h"

namespace capzel {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kFieldsBeforePlayers = 4;  // date, players, winner, shots
constexpr std::size_t kFieldsPerPlayer = 3;      // name, seat, score

void quoted(std::string& out, std::string_view text) {
    out += '"';
    out += text;
    out += '"';
}

bool wholeNumber(const DelimitedField& f, long long low, long long high, long long& out) {
    if (f.quoted || f.text.empty()) return false;
    const char* end = f.text.data() + f.text.size();
    const auto r = std::from_chars(f.text.data(), end, out);
    return r.ec == std::errc() && r.ptr == end && out >= low && out <= high;
}

bool kindNamed(const DelimitedField& f, PlayerKind& out) {
    for (PlayerKind k : kPlayerKinds) {
        if (f.text == playerKindName(k)) {
            out = k;
            return true;
        }
    }
    return false;
}

// One game line; the empty text when it is well formed, otherwise what is
// wrong with it.
std::string readGame(const DelimitedLine& line, HistoryGame& game) {
    if (!line.error.empty()) return line.error;
    const std::vector<DelimitedField>& f = line.fields;
    long long players = 0;
    long long winner = 0;
    long long shots = 0;
    if (f.size() < kFieldsBeforePlayers || !f[0].quoted) return "the line does not begin with a quoted date";
    if (!wholeNumber(f[1], 1, kMaxPlayers, players)) return "the number of players is not 1 to 8";
    if (f.size() != kFieldsBeforePlayers + kFieldsPerPlayer * std::size_t(players))
        return "the line does not hold three fields for each player";
    if (!wholeNumber(f[2], 0, players, winner)) return "the winner is not 0 or one of the players";
    if (!wholeNumber(f[3], 0, std::numeric_limits<int>::max(), shots)) return "the shots are not a whole number";
    game.date = f[0].text;
    game.winner = int(winner);
    game.shots = int(shots);
    for (long long i = 0; i < players; ++i) {
        const DelimitedField* p = &f[kFieldsBeforePlayers + kFieldsPerPlayer * std::size_t(i)];
        HistoryPlayer player;
        long long score = 0;
        if (!p[0].quoted) return "a player's name is not in double quotes";
        if (!kindNamed(p[1], player.kind)) return "a player's seat is not Human, Novice, Club, Strong or Expert";
        if (!wholeNumber(p[2], std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(),
                         score))
            return "a player's score is not a whole number";
        player.name = p[0].text;
        player.score = std::int32_t(score);
        game.players.push_back(std::move(player));
    }
    return {};
}

// The line's text split into fields, each line decoded on its own.
DelimitedLine splitHistoryLine(std::string_view line) {
    std::vector<DelimitedLine> lines = splitDelimited(decodeFileText(line));
    return lines.empty() ? DelimitedLine{} : std::move(lines.front());
}

bool isHeadLine(std::string_view text) {
    const DelimitedLine line = splitHistoryLine(text);
    return line.error.empty() && line.fields.size() == 1 && line.fields[0].quoted &&
           "\"" + line.fields[0].text + "\"" == kHistoryHeadLine;
}

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Where the line that begins at `pos` ends: its first CR or LF, or the end
// of the text. LF is found first so that a file with LF ends alone is not
// searched to its end for a CR at every line.
std::size_t lineEndFrom(std::string_view bytes, std::size_t pos) {
    std::size_t end = bytes.find('\n', pos);
    if (end == std::string_view::npos) end = bytes.size();
    const std::size_t cr = bytes.substr(pos, end - pos).find('\r');
    return cr == std::string_view::npos ? end : pos + cr;
}

// The start of the line after the line end at `end` (CR LF is one line end).
std::size_t nextLineFrom(std::string_view bytes, std::size_t end) {
    const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
    return end + (crlf ? 2 : 1);
}

}  // namespace

std::string HistoryGame::winnerName() const {
    if (winner < 1 || std::size_t(winner) > players.size()) return {};
    return players[std::size_t(winner - 1)].name;
}

HistoryGame finishedGame(const Game& g, std::string date) {
    HistoryGame game;
    game.date = std::move(date);
    game.shots = std::max(0, g.shotsTaken);
    const int last = rules::lastPlayer(g);
    for (int i = 1; i <= last; ++i)
        game.players.push_back({nameForSaveFile(g.seats[std::size_t(i)].name), g.seats[std::size_t(i)].kind,
                                g.seats[std::size_t(i)].score});
    const int cur = g.currentTurn;
    if (cur >= 1 && cur <= last && !g.seats[std::size_t(cur)].dead && rules::othersAllDead(g, cur)) game.winner = cur;
    return game;
}

std::string historyLine(const HistoryGame& game) {
    std::string out;
    quoted(out, nameForSaveFile(game.date));
    out += ',' + std::to_string(game.players.size()) + ',' + std::to_string(game.winner) + ',' +
           std::to_string(game.shots);
    for (const HistoryPlayer& p : game.players) {
        out += ',';
        quoted(out, nameForSaveFile(p.name));
        out += ',';
        quoted(out, playerKindName(p.kind));
        out += ',' + std::to_string(p.score);
    }
    out += kLineEnd;
    return out;
}

std::string readHistoryLine(std::string_view line, HistoryGame& game) {
    return readGame(splitHistoryLine(line), game);
}

HistoryLines historyLines(std::string_view bytes, bool fromFileStart) {
    HistoryLines out;
    std::size_t pos = 0;
    if (!fromFileStart) {
        const std::size_t end = lineEndFrom(bytes, 0);
        pos = end == bytes.size() ? end : nextLineFrom(bytes, end);
    }
    out.kept = bytes.size();
    for (bool first = fromFileStart; pos < bytes.size(); first = false) {
        const std::size_t end = lineEndFrom(bytes, pos);
        const std::string_view line = bytes.substr(pos, end - pos);
        if (!isBlankLine(line) && !(first && isHeadLine(line))) {
            HistoryGame game;
            if (end == bytes.size() && !first && !readHistoryLine(line, game).empty()) {
                out.kept = pos;
                break;
            }
            out.starts.push_back(pos);
        }
        if (end == bytes.size()) break;
        pos = nextLineFrom(bytes, end);
    }
    return out;
}

std::string_view historyLineAt(std::string_view bytes, std::size_t start) {
    return bytes.substr(start, lineEndFrom(bytes, start) - start);
}

int historyLineNumber(std::string_view bytes, std::size_t start) {
    int number = 1;
    for (std::size_t pos = 0; pos < start; ++number) {
        const std::size_t end = lineEndFrom(bytes, pos);
        if (end >= start) break;
        pos = nextLineFrom(bytes, end);
    }
    return number;
}

HistoryReading readHistoryGames(std::string_view bytes, const std::vector<std::size_t>& starts,
                                const std::function<bool(HistoryGame&&)>& take) {
    HistoryReading out;
    for (const std::size_t start : starts) {
        HistoryGame game;
        std::string error = readHistoryLine(historyLineAt(bytes, start), game);
        if (!error.empty()) {
            out.errorLine = historyLineNumber(bytes, start);
            out.error = std::move(error);
            break;
        }
        if (!take(std::move(game))) break;
    }
    return out;
}

HistoryReading readHistory(std::string_view bytes) {
    std::vector<HistoryGame> games;
    HistoryReading out = readHistoryGames(bytes, historyLines(bytes).starts, [&](HistoryGame&& game) {
        games.push_back(std::move(game));
        return true;
    });
    if (out.ok()) out.games = std::move(games);
    return out;
}

std::string historyAddition(std::string_view kept, const HistoryGame& game) {
    std::string out;
    if (kept.empty()) {
        out += kHistoryHeadLine;
        out += kLineEnd;
    } else if (kept.back() != '\n' && kept.back() != '\r') {
        out += kLineEnd;
    }
    return out + historyLine(game);
}

void WinTally::add(const HistoryGame& game) {
    for (const HistoryPlayer& p : game.players) wins_.emplace(p.name, 0);
    if (game.winner >= 1) ++wins_[game.winnerName()];
}

std::vector<WinCount> WinTally::table() const {
    std::vector<WinCount> out;
    for (const auto& [name, count] : wins_) out.push_back({name, count});
    std::stable_sort(out.begin(), out.end(), [](const WinCount& a, const WinCount& b) { return a.wins > b.wins; });
    return out;
}

}  // namespace capzel
