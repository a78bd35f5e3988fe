// A game record told as a room's server tells it to a spectator who joined
// before its first shot: the welcome, the room joined, the game as it
// starts, then each shot as accepted, with the record's hash and what its
// rules announced. The page's demo mode and the WebAssembly core's test
// feed these to the client as if they came from a server. The record's
// shots up to its first hidden command or undo are told (the online game
// has neither).
#pragma once

#include <string>
#include <vector>

#include "records/GameRecord.h"

namespace capzel::web {

// The room's code the messages use.
inline constexpr const char* kRecordRoomCode = "REPLAY";

std::vector<std::string> recordAsServerMessages(const GameRecord& record);

// The record played again as `capzel-sim --replay` plays it: one line per
// entry ("shot 12 seat 2 <hash> ok", or where it differs), then the final
// game as one line of JSON.
std::string replayLines(const GameRecord& record);

}  // namespace capzel::web
