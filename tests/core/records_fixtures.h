// Shared set-up of the records tests.
#pragma once

#include <algorithm>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "model/GameContext.h"
#include "support/FakePlatform.h"

namespace capzel::test {

struct Game {
    GameState g;
    Field field;
    FakePlatform ui;
    GameContext ctx{g, field, ui};
};

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

// Everything of the state and the field that a new game or a load may set.
inline std::string dump(const Game& t) {
    std::ostringstream o;
    o << std::setprecision(9);  // every float exactly
    const GameState& g = t.g;
    o << "N=" << g.numberOfPlayers << " turn=" << g.currentTurn << " running=" << g.gameRunning
      << " walls=" << g.wallsOn << " shot=" << g.shotInProgress << " song=" << g.songNumber
      << " tables=" << g.perGameTablesExist << "\n";
    for (int i = 0; i <= kMaxPlayers; ++i) {
        o << i << ": " << g.playerName[i] << "|" << g.score[i] << "|" << g.playerColor[i] << "|"
          << g.friction[i] << "|" << g.inGame[i] << g.moveableNextTurn[i] << g.losingTurn[i]
          << g.headingInReverse[i] << g.onLetters[i] << g.isKiller[i] << g.dead[i] << "|"
          << g.position[i];
        const Box& p = t.field.board.pieces[i];
        o << " piece " << p.left << "," << p.top << "," << p.width << "," << p.height << " v"
          << p.visible << " c" << p.fillColor << "\n";
    }
    const Box& h = t.field.board.pieceHolder;
    o << "holder " << h.left << "," << h.top << "," << h.width << "," << h.height << " v" << h.visible << "\n";
    for (int j = 1; j <= kWallCount; ++j) o << t.field.board.walls[j].visible;
    return o.str();
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
