// Shared set-up of the records tests.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/FakePlatform.h"

namespace capzel::test {

// Ann at target 5, Bob a killer just rested on D; Bob's turn; half-twip places.
inline void setUpTwoPlayerKillerGame(Game& g) {
    g.numberOfPlayers = g.currentTurn = 2;
    g.gameRunning = true;
    g.recreatePerGameTables();
    g.seats[1] = {.name = "Ann", .score = 260, .color = 16777215, .friction = 98.25f, .position = 5, .inGame = true,
                  .losingTurn = true};
    g.seats[2] = {.name = "Bob", .score = -712, .color = rgb(0, 128, 255), .friction = 97.5f, .position = 29, .inGame = true,
                  .moveableNextTurn = true, .headingInReverse = true, .onLetters = true, .isKiller = true};
    g.board.pieces[1].left = 4600.5f;  // halves go to the even neighbour: 4600
    g.board.pieces[1].top = 621.5f;    // 622
    g.board.pieces[2].left = 5010.25f;
    g.board.pieces[2].top = 4399.75f;
}

// The text of `valid` with a refusals row's edit: the value at its "pointer"
// set to its "value", or the field removed when that is null.
inline std::string editedAt(const std::string& valid, const nlohmann::json& row) {
    nlohmann::json j = nlohmann::json::parse(valid);
    const nlohmann::json::json_pointer at(row.at("pointer").get<std::string>());
    if (!row.at("value").is_null()) {
        j[at] = row.at("value");
    } else if (nlohmann::json& parent = j.at(at.parent_pointer()); parent.is_array()) {
        parent.erase(std::stoul(at.back()));
    } else {
        parent.erase(at.back());
    }
    return j.dump();
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
