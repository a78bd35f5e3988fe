// A game as a JSON value, for the texts that carry one inside them (a game
// text, a game record's start): written and read exactly as
// records/GameText.h describes.
#pragma once

#include "model/Game.h"
#include "records/JsonFields.h"

namespace capzel::gamejson {

jsonfields::Json gameValue(const Game& g);

// Reads the object's fields into `g`, which starts as a fresh game.
void readGame(jsonfields::FieldReader& r, Game& g);

}  // namespace capzel::gamejson
