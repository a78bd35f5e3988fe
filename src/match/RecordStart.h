// Where a record starts: the game a record of the current version holds, or
// for a record of the first version the game built from its setup and field
// as the game was built then, with its first turn started.
#pragma once

#include <vector>

#include "model/Game.h"
#include "records/GameRecord.h"
#include "rules/Announcement.h"

namespace capzel {

// The game the record starts from; `said` gets what a first-version
// record's first turn start announced (nothing for a record of the current
// version, whose start game was taken after it).
Game recordStartGame(const GameRecord& record, std::vector<Announcement>* said = nullptr);

}  // namespace capzel
