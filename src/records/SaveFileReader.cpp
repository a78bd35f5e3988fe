#include "records/SaveFileReader.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "model/RealText.h"
#include "records/DelimitedText.h"
#include "records/SaveFileLayout.h"
#include "records/TextEncoding.h"

namespace capzel {

namespace {

namespace lim = saveLimits;

// A field's text as a message quotes it.
std::string shown(std::string_view text) {
    std::string s(1, '"');
    s += shortenUtf8(text, 30);
    s += '"';
    return s;
}

std::string_view withoutPlus(std::string_view s) {
    if (s.size() > 1 && s[0] == '+' && s[1] != '-') s.remove_prefix(1);
    return s;
}

// A whole decimal number, with an optional sign, and nothing else.
std::optional<long long> wholeNumber(std::string_view s) {
    s = withoutPlus(s);
    long long v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || r.ptr != s.data() + s.size()) return std::nullopt;
    if (r.ec == std::errc::result_out_of_range) return s[0] == '-' ? LLONG_MIN : LLONG_MAX;
    if (r.ec != std::errc()) return std::nullopt;
    return v;
}

std::optional<float> realNumber(std::string_view s) {
    s = withoutPlus(s);
    float v = 0;
    if (readDecimal(s, v) != DecimalRead::Read) return std::nullopt;
    return v;
}

class Reader {
public:
    explicit Reader(std::vector<DelimitedLine> lines) : lines_(std::move(lines)) {}

    std::optional<SavedGame> read() {
        SavedGame game;
        if (!fields(1, 1, "the head line")) return std::nullopt;

        long long players = 0, turn = 0;
        if (!fields(2, 2, "the number of players")) return std::nullopt;
        if (!wholeIn(2, "the number of players", 1, lim::kMaxPlayers,
                     "; a saved game holds 1 to 8 players", players))
            return std::nullopt;
        if (!fields(3, 2, "the current turn")) return std::nullopt;
        if (!wholeIn(3, "the current turn", 1, players,
                     "; it must be a player of the game, 1 to " + std::to_string(players), turn))
            return std::nullopt;
        game.currentTurn = std::int16_t(turn);

        for (int i = 1; i <= int(players); ++i) {
            SavedPlayer p;
            if (!readPlayer(i, p)) return std::nullopt;
            game.players.push_back(std::move(p));
        }

        // The seat lines and the whole scores, each at most once, in either order.
        int last = kSaveHeadLines + kSaveLinesPerPlayer * int(players);
        bool seatsRead = false, scoresRead = false;
        for (;;) {
            const bool seats = !seatsRead && (headLineAt(last + 1, kSeatsHeadLine) ||
                                              headLineAt(last + 1, kSeatsHeadLineBeforeStrong));
            const bool scores = !scoresRead && headLineAt(last + 1, kScoresHeadLine);
            if (!seats && !scores) break;
            for (int i = 1; i <= int(players); ++i) {
                SavedPlayer& p = game.players[std::size_t(i - 1)];
                if (!(seats ? readSeat(last + 1 + i, i, p) : readWholeScore(last + 1 + i, i, p))) return std::nullopt;
            }
            (seats ? seatsRead : scoresRead) = true;
            last += 1 + int(players);
        }
        for (int n = last + 1; n <= int(lines_.size()); ++n) {
            if (!lines_[std::size_t(n - 1)].blank()) {
                fail(n, "the game ends on line " + std::to_string(last) + ", but more follows");
                return std::nullopt;
            }
        }
        return game;
    }

    SaveFileError error;

private:
    std::vector<DelimitedLine> lines_;

    void fail(int line, std::string what) {
        error.line = line;
        error.what = std::move(what);
    }

    const DelimitedField& field(int line, int k) const { return lines_[std::size_t(line - 1)].fields[std::size_t(k)]; }

    // Line `n` exists, is well formed and holds `count` fields.
    bool fields(int n, std::size_t count, const std::string& what) {
        if (n > int(lines_.size())) {
            fail(n, "the file ends before " + what);
            return false;
        }
        const DelimitedLine& l = lines_[std::size_t(n - 1)];
        if (!l.error.empty()) {
            fail(n, l.error);
            return false;
        }
        if (l.fields.size() != count) {
            const std::string expected = count == 1 ? "1 field (" + what + ")"
                                                    : std::to_string(count) + " fields (" + what + " and its label)";
            fail(n, l.fields.empty() ? "the line is empty; it should hold " + expected
                                     : "the line holds " + std::to_string(l.fields.size()) +
                                           (l.fields.size() == 1 ? " field" : " fields") +
                                           "; it should hold " + expected);
            return false;
        }
        return true;
    }

    bool wholeIn(int n, const std::string& what, long long lo, long long hi, const std::string& why,
                 long long& out) {
        const std::string& text = field(n, 0).text;
        const auto v = wholeNumber(text);
        if (!v) {
            fail(n, what + " " + shown(text) + " is not a whole number");
            return false;
        }
        if (*v < lo || *v > hi) {
            fail(n, what + " is " + text + why);
            return false;
        }
        out = *v;
        return true;
    }

    bool readPlayer(int i, SavedPlayer& p) {
        const int first = kSaveHeadLines + kSaveLinesPerPlayer * (i - 1) + 1;
        const std::string who = "player " + std::to_string(i) + "'s ";
        long long v = 0;
        const auto whole = [&](int row, long long lo, long long hi) {
            const std::string what = who + std::string(kSaveRows[std::size_t(row)].what);
            return wholeIn(first + row, what, lo, hi,
                           "; it must be from " + std::to_string(lo) + " to " + std::to_string(hi), v);
        };
        for (int row = 0; row < kSaveLinesPerPlayer; ++row) {
            const int n = first + row;
            const SaveRow& rowInfo = kSaveRows[std::size_t(row)];
            if (!fields(n, 2, who + std::string(rowInfo.what))) return false;
            const std::string& text = field(n, 0).text;
            switch (row) {
            case kRowName:
                if (const std::size_t length = utf8Length(text); length > lim::kMaxNameLength) {
                    fail(n, who + "name is " + std::to_string(length) + " characters long; a name has at most " +
                                std::to_string(lim::kMaxNameLength));
                    return false;
                }
                p.name = nameForSaveFile(text);
                break;
            case kRowDead: case kRowInGame: case kRowIsKiller: case kRowOnLetters:
            case kRowLosingTurn: case kRowMoveableNextTurn: case kRowHeadingInReverse: {
                bool b = false;
                if (!truth(n, who + std::string(rowInfo.what), b)) return false;
                flag(p, row) = b;
                break;
            }
            case kRowFriction: {
                const auto f = realNumber(text);
                if (!f || *f < lim::kMinFriction || *f > lim::kMaxFriction) {
                    fail(n, who + "friction " + shown(text) + " is not a number from 0 to 100");
                    return false;
                }
                p.friction = *f + 0.0f;
                break;
            }
            case kRowScore:
                if (!whole(row, INT16_MIN, INT16_MAX)) return false;
                p.score = std::int16_t(v);
                break;
            case kRowColor:
                if (!whole(row, 0, lim::kMaxColor)) return false;
                p.color = std::int32_t(v);
                break;
            case kRowHeight: case kRowWidth:
                if (!whole(row, lim::kMinPieceSize, lim::kMaxPieceSize)) return false;
                (row == kRowHeight ? p.height : p.width) = std::int16_t(v);
                break;
            case kRowLeft: case kRowTop:
                if (!whole(row, -lim::kCoordinateLimit, lim::kCoordinateLimit)) return false;
                (row == kRowLeft ? p.left : p.top) = std::int16_t(v);
                break;
            case kRowPosition:
                if (!whole(row, 0, lim::kMaxPosition)) return false;
                p.position = std::int32_t(v);
                break;
            }
        }
        return true;
    }

    // Line `n` is the head line `head`.
    bool headLineAt(int n, std::string_view head) const {
        if (n > int(lines_.size())) return false;
        const DelimitedLine& l = lines_[std::size_t(n - 1)];
        return l.error.empty() && l.fields.size() == 1 && l.fields[0].text == head;
    }

    // The whole score must be the one the score line holds within 16 bits.
    bool readWholeScore(int n, int i, SavedPlayer& p) {
        const std::string what = "player " + std::to_string(i) + "'s whole score";
        long long v = 0;
        if (!fields(n, 2, what) ||
            !wholeIn(n, what, INT32_MIN, INT32_MAX,
                     "; it must be from " + std::to_string(INT32_MIN) + " to " + std::to_string(INT32_MAX), v))
            return false;
        if (classicScore(std::int32_t(v)) != p.score) {
            const int scoreLine = kSaveHeadLines + kSaveLinesPerPlayer * (i - 1) + 1 + kRowScore;
            fail(n, what + " " + shown(field(n, 0).text) + " does not agree with the score " +
                        std::to_string(p.score) + " on line " + std::to_string(scoreLine));
            return false;
        }
        p.score = std::int32_t(v);
        return true;
    }

    bool readSeat(int n, int i, SavedPlayer& p) {
        const std::string what = "player " + std::to_string(i) + "'s seat";
        if (!fields(n, 2, what)) return false;
        const std::string& text = field(n, 0).text;
        const auto kind = seatFromName(text);
        if (!kind) {
            fail(n, what + " " + shown(text) + " is not Human, Novice, Club, Strong or Expert");
            return false;
        }
        p.kind = *kind;
        return true;
    }

    bool truth(int n, const std::string& what, bool& out) {
        std::string t = field(n, 0).text;
        for (char& c : t) c = char(std::toupper(static_cast<unsigned char>(c)));
        if (t == "#TRUE#" || t == "#FALSE#") {
            out = t == "#TRUE#";
            return true;
        }
        fail(n, what + " " + shown(field(n, 0).text) + " is neither #TRUE# nor #FALSE#");
        return false;
    }

    static bool& flag(SavedPlayer& p, int row) {
        switch (row) {
        case kRowDead: return p.dead;
        case kRowInGame: return p.inGame;
        case kRowIsKiller: return p.isKiller;
        case kRowOnLetters: return p.onLetters;
        case kRowLosingTurn: return p.losingTurn;
        case kRowMoveableNextTurn: return p.moveableNextTurn;
        default: return p.headingInReverse;
        }
    }
};

}  // namespace

SaveFileParse parseSaveFile(std::string_view bytes) {
    SaveFileParse result;
    if (bytes.size() > kMaxSaveFileBytes) {
        result.error = {0, "the file is too large to be a saved game"};
        return result;
    }
    if (bytes.empty()) {
        result.error = {0, "the file is empty"};
        return result;
    }
    Reader reader(splitDelimited(decodeFileText(bytes)));
    result.game = reader.read();
    if (!result.game) result.error = reader.error;
    return result;
}

std::string describeSaveFileError(const SaveFileError& error) {
    if (error.line <= 0) {
        std::string s = error.what;
        if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = char(s[0] - 'a' + 'A');
        return s + ".";
    }
    return "Line " + std::to_string(error.line) + ": " + error.what + ".";
}

}  // namespace capzel
