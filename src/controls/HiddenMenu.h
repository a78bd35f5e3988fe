// The hidden command menu "Quince" of the main window: the key matcher that
// shows and hides it, and its six commands.
//
// Wiring (main window):
//   - key-down: matchAccessWord(ctx, keyCode, modifiers) for every key-down the
//     window receives, also while one of its controls (the "Go" button) has
//     the focus. keyCode is the virtual-key code: letters 65..90 ('A'..'Z'),
//     digits 48..57, F1..F12 112..123, Shift 16, Ctrl 17, Alt 18; modifiers
//     is a bit set of kShiftKey, kCtrlKey and kAltKey.
//   - after the call, show the menu "Quince" exactly when
//     ctx.field.hiddenMenuVisible is true, and the View menu's "&Guide Lines"
//     item exactly when ctx.field.guideItemVisible is true.
//   - the items of "Quince" run, in this order:
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

#include <string_view>

#include "model/GameContext.h"
#include "rules/Turns.h"

namespace capzel {

// Modifier bits of a key-down.
constexpr int kShiftKey = 1;
constexpr int kCtrlKey = 2;
constexpr int kAltKey = 4;

// The word typed with Shift held that shows or hides the menu.
constexpr std::string_view kAccessWord = "quince";

// Largest Friction the commands set (percent of speed kept per step): more
// would make pieces gain speed at every step.
constexpr double kMaxFriction = 100.0;

// Largest size of a velocity part the commands set, in twips per step: more
// than a field's width in one step is never useful.
constexpr double kMaxSpeed = 10000.0;

// Feeds one key-down to the access-word matcher (uses ctx.field.typedKeys,
// ctx.field.hiddenMenuVisible and ctx.ui.beep).
void matchAccessWord(GameContext& ctx, int keyCode, int modifiers);

// The six commands of the menu. Each tells whether the game ended in it
// (only the turn start of Set Position can end it, when nobody is left
// alive); the caller then shows the high scores.
GameFlow setPositionCommand(GameContext& ctx);     // Set Position and start turn
GameFlow setFrictionCommand(GameContext& ctx);   // Set Friction
GameFlow setSpeedCommand(GameContext& ctx);   // Set Speed
GameFlow setPieceCommand(GameContext& ctx);   // Set Piece
GameFlow setInGameCommand(GameContext& ctx);  // Set Ingame
GameFlow setGuidelinesCommand(GameContext& ctx);   // Set Guidelines

}  // namespace capzel
