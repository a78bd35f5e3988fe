#include "records/SaveFileWriter.h"

#include "model/RealText.h"
#include "records/SaveFileLayout.h"

namespace capzel {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

void quoted(std::string& out, std::string_view text) {
    out += '"';
    out += text;
    out += '"';
}

void valueLine(std::string& out, std::string_view value, std::string_view label) {
    out += value;
    out += ',';
    quoted(out, label);
    out += kLineEnd;
}

std::string quotedText(std::string_view text) {
    std::string s;
    quoted(s, text);
    return s;
}

std::string truth(bool b) { return b ? "#TRUE#" : "#FALSE#"; }

// The seat lines, after the players' lines, when a computer plays a seat.
void writeSeats(std::string& out, const SavedGame& game) {
    bool computer = false, strong = false;
    for (const SavedPlayer& p : game.players) {
        computer = computer || p.kind != PlayerKind::Human;
        strong = strong || p.kind == PlayerKind::Strong;
    }
    if (!computer) return;
    quoted(out, strong ? kSeatsHeadLine : kSeatsHeadLineBeforeStrong);
    out += kLineEnd;
    for (const SavedPlayer& p : game.players)
        valueLine(out, quotedText(seatName(p.kind)), " = " + nameForSaveFile(p.name) + std::string(kSeatLabelTail));
}

// The whole scores, after the players' lines, when one does not fit the score line.
void writeWholeScores(std::string& out, const SavedGame& game) {
    bool beyond = false;
    for (const SavedPlayer& p : game.players) beyond = beyond || p.score != classicScore(p.score);
    if (!beyond) return;
    quoted(out, kScoresHeadLine);
    out += kLineEnd;
    for (const SavedPlayer& p : game.players)
        valueLine(out, std::to_string(p.score), " = " + nameForSaveFile(p.name) + std::string(kScoreLabelTail));
}

}  // namespace

std::string formatReal(float value) {
    return shortestText(value + 0.0f);  // + 0: no "-0"
}

std::string formatSaveFile(const SavedGame& game) {
    std::string out;
    out.reserve(128 + game.players.size() * 700);
    quoted(out, kSaveHeadLine);
    out += kLineEnd;
    valueLine(out, std::to_string(game.numberOfPlayers()), kPlayersLabel);
    valueLine(out, std::to_string(game.currentTurn), kTurnLabel);

    for (int i = 1; i <= game.numberOfPlayers(); ++i) {
        const SavedPlayer& p = game.players[std::size_t(i - 1)];
        const std::string name = nameForSaveFile(p.name);
        const std::string values[kSaveLinesPerPlayer] = {
            quotedText(name),
            truth(p.dead),
            truth(p.inGame),
            truth(p.isKiller),
            truth(p.onLetters),
            truth(p.losingTurn),
            truth(p.moveableNextTurn),
            truth(p.headingInReverse),
            formatReal(p.friction),
            std::to_string(classicScore(p.score)),
            std::to_string(p.color),
            std::to_string(p.height),
            std::to_string(p.left),
            std::to_string(p.top),
            std::to_string(p.width),
            quotedText(std::to_string(p.position)),
        };
        for (int r = 0; r < kSaveLinesPerPlayer; ++r) {
            const std::string label = r == kRowName
                                          ? " = Player " + std::to_string(i) + " name"
                                          : " = " + name + std::string(kSaveRows[std::size_t(r)].labelTail);
            valueLine(out, values[r], label);
        }
    }
    writeSeats(out, game);
    writeWholeScores(out, game);
    return out;
}

}  // namespace capzel
