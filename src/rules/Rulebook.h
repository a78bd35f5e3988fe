// The one rulebook every way of playing goes through: the window's "Go", a
// computer seat, a shot played at another computer, the server's room, a
// record played again, undo and redo. A command (model/Command.h) is checked
// by `validate` and applied by `apply`; nothing else changes a game.
//
// A shot shown on screen is the same run stepped by the window's clock
// (rules/ShotInPlay.h): `apply` runs it straight through to the same bits.
#pragma once

#include <cstdint>
#include <optional>

#include "model/Command.h"
#include "model/Game.h"
#include "model/Refusal.h"
#include "rules/Outcome.h"

namespace capzel {

// The farthest an aim line's end may lie from the field's origin: far past
// any screen, so that a drag beyond the window still counts.
inline constexpr double kMaxAimReach = 1'000'000;

// Why `command` cannot be applied to `game`, or nothing when it can:
//  - a shot needs a running game with no shot under way, the seat whose
//    turn it is, aim line ends that are finite and within kMaxAimReach, a
//    strength from 0 to the power bar's strongest, and a placement only
//    where the rules allow one, where dragging the piece within its box can
//    put it; its mid-shot commands must be valid and in the order of their
//    advances;
//  - a hidden command needs at most kMaxAnswers answers of at most
//    kMaxAnswerChars characters each.
std::optional<Refusal> validate(const Game& game, const Command& command);

inline constexpr std::size_t kMaxAnswers = 8;
inline constexpr std::size_t kMaxAnswerChars = 4096;

// Applies a command that `validate` took: a shot is launched, run until its
// pieces rest (or stopped where they are after kMaxShotCycles cycles) and
// judged; a hidden command runs with its recorded answers.
Outcome apply(Game& game, const Command& command);


}  // namespace capzel
