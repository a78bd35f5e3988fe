// Whole games played by computers with no window (capzel-sim --selfplay):
// the players' levels, the number of games and a seed in, wins per seat,
// how often each seat's shots reach the target, shot counts and decision
// times out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace capzel::sim {

// A seat's player: one of the planner's levels, or the random baseline.
enum class SeatPlayer { Novice, Club, Strong, Expert, Random };

struct SelfPlayRequest {
    std::vector<SeatPlayer> seats;  // 1 to 8, in seat order
    int games = 1;
    std::uint64_t seed = 1;
    bool wallsOn = true;
    int maxShots = 2000;  // a game still running after this many shots is unfinished
    int threads = 0;      // 0: one per core
    std::string records;  // a folder for each game's record (records/GameRecord.h); empty: none
};

// Reads one JSON object. Throws InputError.
SelfPlayRequest parseSelfPlayRequest(std::string_view text);

// Plays the games and gives the result as one JSON object. The same request
// gives the same bytes, apart from the two decision-time fields.
std::string playSelfGames(const SelfPlayRequest& request);

}  // namespace capzel::sim
