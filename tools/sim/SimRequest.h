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
#include "model/GameSetup.h"

namespace capzel::sim {

struct SimRequest {
    bool wallsOn = true;
    int currentTurn = 1;
    std::int16_t power = 0;            // before the strength curve
    std::array<float, 4> pointer{};    // x1, y1, x2, y2
    bool judge = false;
    long maxCycles = 1000000;          // a shot that never rests stops here
    std::vector<SeatSetup> players;    // 1 to 8; entry k is player k + 1, every piece placed
};

// Reads one JSON object. Throws InputError.
SimRequest parseRequest(std::string_view text);

// The state after the shot as one JSON object, the same bytes for the same
// state. `messages` are the message box texts in order.
std::string writeOutcome(const GameContext& ctx, const ShotResult& result,
                         const std::vector<std::string>& messages);

}  // namespace capzel::sim
