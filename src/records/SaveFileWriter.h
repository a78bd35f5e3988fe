// Writes a saved game as the text of a ".CSG" file: CR LF line ends, text in
// double quotes, "#TRUE#" / "#FALSE#", reals in their shortest form.
#pragma once

#include <string>
#include <string_view>

#include "records/SavedGame.h"

namespace capzel {

// The whole file, UTF-8. A game with no players gives the three head lines
// only. The values are written as they are; gatherSavedGame has already
// brought them into the file's ranges.
std::string formatSaveFile(const SavedGame& game);

// The shortest text that reads back as the same single-precision value
// ("98.25", "100", "97.5").
std::string formatReal(float value);

}  // namespace capzel
