// The hidden command menu "Quince" of the main window: the key matcher that
// shows and hides it, and its six commands.
//
// Wiring (main window):
//   - key-down: KeyMatcher(ctx, keyCode, modifiers) for every key-down the
//     window receives, also while one of its controls (the "Go" button) has
//     the focus. keyCode is the virtual-key code: letters 65..90 ('A'..'Z'),
//     digits 48..57, F1..F12 112..123, Shift 16, Ctrl 17, Alt 18; modifiers
//     is a bit set of kShiftKey, kCtrlKey and kAltKey.
//   - after the call, show the menu "Quince" exactly when
//     ctx.field.mnuQuinceVisible is true, and the View menu's "&Guide Lines"
//     item exactly when ctx.field.mnuGuideVisible is true.
//   - the items of "Quince" run, in this order:
//       "&Set Position and start turn"  F1  mnuSetPos_Click
//       "&Set Friction"                 F2  mnuSetFrict_Click
//       "&Set Speed"                    F3  mnuSetSpeed_Click
//       "&Set Piece"                    F4  mnuSetPiece_Click
//       "&Set Ingame"                   F5  mnuSetIngame_Click
//       "&Set Guidelines"               F6  mnuSetGuide_Click
//     Each asks through ctx.ui.inputBox and shows no message of its own
//     (Set Position may show the turn-start message). Repaint the field
//     afterwards: the commands move pieces.
//
// The commands may run in the middle of a shot (between two of its steps);
// they then change positions and velocities that the next step uses.
//
// Limits that keep the game safe (also in doc/hidden-commands.md): a player
// number outside 1..NumberOfPlayers and a target number outside 1..29 end
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

// Feeds one key-down to the access-word matcher (uses ctx.field.TypedKeys,
// ctx.field.mnuQuinceVisible and ctx.ui.beep).
void KeyMatcher(GameContext& ctx, int keyCode, int modifiers);

// The six commands of the menu. Each tells whether the game ended in it
// (only the turn start of Set Position can end it, when nobody is left
// alive); the caller then shows the high scores.
GameFlow mnuSetPos_Click(GameContext& ctx);     // Set Position and start turn
GameFlow mnuSetFrict_Click(GameContext& ctx);   // Set Friction
GameFlow mnuSetSpeed_Click(GameContext& ctx);   // Set Speed
GameFlow mnuSetPiece_Click(GameContext& ctx);   // Set Piece
GameFlow mnuSetIngame_Click(GameContext& ctx);  // Set Ingame
GameFlow mnuSetGuide_Click(GameContext& ctx);   // Set Guidelines

}  // namespace capzel
