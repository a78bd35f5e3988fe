// The parts of a game record's JSON that other texts carry too (the online
// messages): a shot's inputs and an entry's outcome, written and read
// exactly as the record writes and reads them.
#pragma once

#include "records/GameRecord.h"
#include "records/JsonFields.h"

namespace capzel::recordjson {

// "x1", "y1", "x2", "y2" (exact reals), "power" and "placement" (null: none).
void putShotInputs(jsonfields::Json& j, const ShotCommand& shot);
// The same fields; a strength outside 0 to maxPower is refused.
void readShotInputs(jsonfields::FieldReader& r, ShotCommand& shot, int maxPower);

// "hash" (16 hexadecimal digits) and "announcements" ({kind, player, text}).
void putOutcome(jsonfields::Json& j, const EntryOutcome& outcome);
void readOutcome(jsonfields::FieldReader& r, EntryOutcome& outcome);

}  // namespace capzel::recordjson
