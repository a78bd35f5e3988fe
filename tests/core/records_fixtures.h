// Shared set-up of the records tests.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "model/GameContext.h"
#include "support/FakePlatform.h"

namespace capzel::test {

// Ann at target 5, Bob a killer just rested on D; Bob's turn; half-twip places.
inline void setUpTwoPlayerKillerGame(Game& t) {
    GameState& g = t.g;
    g.numberOfPlayers = 2;
    g.currentTurn = 2;
    g.gameRunning = true;
    g.recreatePerGameTables();
    g.playerName[1] = "Ann";
    g.playerName[2] = "Bob";
    g.inGame[1] = g.inGame[2] = true;
    g.position[1] = 5;
    g.position[2] = 29;
    g.isKiller[2] = g.onLetters[2] = g.headingInReverse[2] = true;
    g.moveableNextTurn[2] = true;
    g.losingTurn[1] = true;
    g.friction[1] = 98.25f;
    g.friction[2] = 97.5f;
    g.score[1] = 260;
    g.score[2] = -712;
    g.playerColor[1] = 16777215;
    g.playerColor[2] = rgb(0, 128, 255);
    Box& a = t.field.board.pieces[1];
    a.left = 4600.5f;  // halves go to the even neighbour: 4600
    a.top = 621.5f;    // 622
    Box& b = t.field.board.pieces[2];
    b.left = 5010.25f;
    b.top = 4399.75f;
}

inline std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end = 0; start < text.size(); start = end + 2) {
        end = std::min(text.find("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

inline std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

}  // namespace capzel::test
