// The six commands of the hidden menu "Quince" (its access word is in
// AccessWord.h).
//
// Wiring (main window): the items of "Quince" run, in this order:
//       "&Set Position and start turn"  F1  setPositionCommand
//       "&Set Friction"                 F2  setFrictionCommand
//       "&Set Speed"                    F3  setSpeedCommand
//       "&Set Piece"                    F4  setPieceCommand
//       "&Set Ingame"                   F5  setInGameCommand
//       "&Set Guidelines"               F6  setGuidelinesCommand
//     Each asks through ctx.ui.inputBox and shows no message of its own
//     (Set Position may show the turn-start message). Repaint the field
//     afterwards: the commands move pieces.
//
// The commands may run in the middle of a shot (between two of its steps);
// they then change positions and velocities that the next step uses.
//
// Limits that keep the game safe (also in doc/hidden-commands.md): a player
// number outside 1..numberOfPlayers and a target number outside 1..29 end
// the command without change, as does any command that needs the tables of
// a game before the first game has started; Friction is kept within
// (0, 100]; velocities must be finite and are limited to kMaxSpeed in size;
// a piece that is not on the board gets no velocity.
#pragma once

#include "model/Command.h"
#include "model/GameContext.h"
#include "model/WindowState.h"
#include "rules/Announcement.h"

namespace capzel {

// Largest Friction the commands set (percent of speed kept per step): more
// would make pieces gain speed at every step.
constexpr double kMaxFriction = 100.0;

// Largest size of a velocity part the commands set, in twips per step: more
// than a field's width in one step is never useful.
constexpr double kMaxSpeed = 10000.0;

// The commands that change the game. Each gives what it announces: only Set
// Position starts a turn, whose announcements the caller tells, and whose
// turn start can end the game when nobody is left alive (the caller then
// shows the high scores).
using GameCommand = Judgement (*)(GameContext&);
Judgement setPositionCommand(GameContext& ctx);  // Set Position and start turn
Judgement setFrictionCommand(GameContext& ctx);  // Set Friction
Judgement setSpeedCommand(GameContext& ctx);     // Set Speed
Judgement setPieceCommand(GameContext& ctx);     // Set Piece
Judgement setInGameCommand(GameContext& ctx);    // Set Ingame

// The player chooses a command of the menu: its input boxes are asked
// through `ui` as the command asks them, on a copy of the game, and the
// answers come back as the command to play (rules/Rulebook.h).
HiddenCommand askHiddenCommand(const Game& game, HiddenCommandKind kind, Platform& ui);

// Runs a hidden command on the game, its input boxes answered in order
// from the command's answers (a Cancel once they run out).
Judgement runHiddenCommand(Game& game, const HiddenCommand& command);

// Set Guidelines changes no game: it shows the View menu's "&Guide Lines".
void setGuidelinesCommand(MenuState& menus);

}  // namespace capzel
