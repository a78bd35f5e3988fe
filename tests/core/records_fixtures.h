// Shared set-up of the saved-game, high-score and new-game tests: a game
// context over a scripted platform, a two-player game with a killer, and a
// full dump of everything a load may or may not touch.
#pragma once

#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "model/GameContext.h"
#include "support/FakePlatform.h"

namespace capzel::test {

struct Game {
    modCapzel g;
    Field field;
    FakePlatform ui;
    GameContext ctx{g, field, ui};
};

// Ann (player 1) on her way at target 5, Bob (player 2) a killer who has
// just rested on D; Bob's turn. Geometry with halves to check the rounding.
inline void setUpTwoPlayerKillerGame(Game& t) {
    modCapzel& g = t.g;
    g.NumberOfPlayers = 2;
    g.CurrentTurn = 2;
    g.GameRunning = true;
    g.recreatePerGameTables();
    g.PlayerName[1] = "Ann";
    g.PlayerName[2] = "Bob";
    g.InGame[1] = g.InGame[2] = true;
    g.Position[1] = 5;
    g.Position[2] = 29;
    g.IsKiller[2] = g.OnLetters[2] = g.HeadingInReverse[2] = true;
    g.MoveableNextTurn[2] = true;
    g.LosingTurn[1] = true;
    g.Friction[1] = 98.25f;
    g.Friction[2] = 97.5f;
    g.Score[1] = 260;
    g.Score[2] = -712;
    g.PlayerColor[1] = 16777215;
    g.PlayerColor[2] = rgb(0, 128, 255);
    Box& a = t.field.board.Player[1];
    a.Left = 4600.5f;  // halves go to the even neighbour: 4600
    a.Top = 621.5f;    // 622
    Box& b = t.field.board.Player[2];
    b.Left = 5010.25f;
    b.Top = 4399.75f;
}

// Everything of the state and the field that a new game or a load may set.
inline std::string dump(const Game& t) {
    std::ostringstream o;
    o << std::setprecision(9);  // every float exactly
    const modCapzel& g = t.g;
    o << "N=" << g.NumberOfPlayers << " turn=" << g.CurrentTurn << " running=" << g.GameRunning
      << " walls=" << g.WallsOn << " shot=" << g.ShotInProgress << " song=" << g.SongNumber
      << " tables=" << g.PerGameTablesExist << "\n";
    for (int i = 0; i <= kMaxPlayers; ++i) {
        o << i << ": " << g.PlayerName[i] << "|" << g.Score[i] << "|" << g.PlayerColor[i] << "|"
          << g.Friction[i] << "|" << g.InGame[i] << g.MoveableNextTurn[i] << g.LosingTurn[i]
          << g.HeadingInReverse[i] << g.OnLetters[i] << g.IsKiller[i] << g.Dead[i] << "|"
          << g.Position[i];
        const Box& p = t.field.board.Player[i];
        o << " piece " << p.Left << "," << p.Top << "," << p.Width << "," << p.Height << " v"
          << p.Visible << " c" << p.FillColor << "\n";
    }
    const Box& h = t.field.board.PieceHolder;
    o << "holder " << h.Left << "," << h.Top << "," << h.Width << "," << h.Height << " v" << h.Visible << "\n";
    for (int j = 1; j <= kWallCount; ++j) o << t.field.board.Wall[j].Visible;
    return o.str();
}

inline std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

inline std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

}  // namespace capzel::test
