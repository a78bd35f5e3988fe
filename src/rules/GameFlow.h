// What a rule call left of the game: it goes on, or it has just ended (won,
// or nobody left alive). The caller of a call that ended the game shows the
// high-score table.
#pragma once

namespace capzel {

enum class GameFlow { Continues, Ended };

}  // namespace capzel
