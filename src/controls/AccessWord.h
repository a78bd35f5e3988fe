// The access word of the hidden command menu "Quince": typed with Shift held
// it shows the menu, typed again it hides it.
//
// Wiring (main window): matchAccessWord(menus, ui, keyCode, modifiers) for every
// key-down the window receives, also while one of its controls (the "Go"
// button) has the focus. keyCode is the virtual-key code: letters 65..90
// ('A'..'Z'), digits 48..57, F1..F12 112..123, Shift 16, Ctrl 17, Alt 18;
// modifiers is a bit set of kShiftKey, kCtrlKey and kAltKey. After the call,
// show the menu "Quince" exactly when menus.hiddenMenuVisible is true,
// and the View menu's "&Guide Lines" item exactly when
// menus.guideItemVisible is true.
#pragma once

#include <string_view>

#include "model/WindowState.h"
#include "platform/Platform.h"

namespace capzel {

// Modifier bits of a key-down.
constexpr int kShiftKey = 1;
constexpr int kCtrlKey = 2;
constexpr int kAltKey = 4;

// The word typed with Shift held that shows or hides the menu.
constexpr std::string_view kAccessWord = "quince";

// Feeds one key-down to the access-word matcher (uses menus.typedKeys,
// menus.hiddenMenuVisible and ui.beep).
void matchAccessWord(MenuState& menus, Platform& ui, int keyCode, int modifiers);

}  // namespace capzel
