// The simulator's request (one shot to play) and its JSON form.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "JsonFields.h"
#include "engine/Shot.h"
#include "model/GameContext.h"

namespace capzel::sim {

struct SimPlayer {
    std::string name;  // "Player <n>" when not given
    float left = 0;
    float top = 0;
    float width = 300;
    float height = 300;
    float friction = 98;
    std::int32_t score = 0;
    int position = 0;
    bool inGame = false;
    bool dead = false;
    bool isKiller = false;
    bool onLetters = false;
    bool headingInReverse = false;
    bool moveableNextTurn = false;
    bool losingTurn = false;
};

struct SimRequest {
    bool wallsOn = true;
    int currentTurn = 1;
    std::int16_t power = 0;            // before the strength curve
    std::array<float, 4> pointer{};    // x1, y1, x2, y2
    bool judge = false;
    long maxCycles = 1000000;          // a shot that never rests stops here
    std::vector<SimPlayer> players;    // 1 to 8; entry k is player k + 1
};

// Reads one JSON object. Throws InputError.
SimRequest parseRequest(std::string_view text);

// The state after the shot as one JSON object, the same bytes for the same
// state. `messages` are the message box texts in order.
std::string writeOutcome(const GameContext& ctx, const ShotResult& result,
                         const std::vector<std::string>& messages);

}  // namespace capzel::sim
