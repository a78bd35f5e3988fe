// Qt's keys, mouse buttons and modifiers as the game's handlers receive
// them: 16-bit virtual-key codes, and bit sets for the buttons (left 1,
// right 2, middle 4) and the shift keys (Shift 1, Ctrl 2, Alt 4).
#pragma once

#include <Qt>

namespace capzel::ui {

constexpr int kShiftBit = 1;
constexpr int kCtrlBit = 2;
constexpr int kAltBit = 4;

constexpr int kLeftButtonBit = 1;
constexpr int kRightButtonBit = 2;
constexpr int kMiddleButtonBit = 4;

// The virtual-key code of a Qt key: letters 65..90 (upper case whatever
// the shift state), digits 48..57 (also for their shifted symbols on a US
// layout), Shift 16, Ctrl 17, Alt 18, F1..F24 112..135, the editing and
// arrow keys, the keypad when `keypad` is set, and the punctuation keys at
// their US-layout codes. 0 for a key that has no such code.
int virtualKey(int qtKey, bool keypad = false);

// Shift 1, Ctrl 2, Alt 4.
int shiftSet(Qt::KeyboardModifiers modifiers);

// The shift set of a key-down: a Shift, Ctrl or Alt key going down counts
// as held, as it does for the system's own key-down events (platforms
// differ on whether the key's own modifier is already set).
int keyShiftSet(int qtKey, Qt::KeyboardModifiers modifiers);

// Left 1, right 2, middle 4.
int buttonSet(Qt::MouseButtons buttons);

}  // namespace capzel::ui
