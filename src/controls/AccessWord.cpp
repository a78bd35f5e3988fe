// The access-word matcher of the hidden menu. The word must be typed with
// Shift held and nothing else; keys without Shift (or with Ctrl or Alt) are
// not part of the word and leave a partial word as it is. A wrong key with
// Shift costs the whole partial word and one beep; the complete word toggles
// the menu and beeps twice.
#include "controls/AccessWord.h"

namespace capzel {

namespace {

constexpr int kShiftKeyCode = 16;

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// True when `typed` in lower case is the beginning of the access word.
bool startsAccessWord(const std::string& typed) {
    if (typed.size() > kAccessWord.size()) return false;
    for (std::size_t i = 0; i < typed.size(); ++i)
        if (lowerAscii(typed[i]) != kAccessWord[i]) return false;
    return true;
}

}  // namespace

void matchAccessWord(MenuState& menus, Platform& ui, int keyCode, int modifiers) {
    if (keyCode == kShiftKeyCode) return;
    std::string& typed = menus.typedKeys;

    if (modifiers == kShiftKey) {
        // The character whose code is the key code: letters give capitals,
        // digits their digit, F2 (113) a 'q'. A code that gives no printable
        // character cannot be part of the word: it counts as a wrong key.
        if (keyCode >= 32 && keyCode <= 126) {
            typed += char(keyCode);
        } else {
            typed.clear();
            ui.beep();
            return;
        }
    }

    if (!startsAccessWord(typed)) {
        ui.beep();
        typed.clear();
        return;
    }
    if (typed.size() == kAccessWord.size()) {
        menus.hiddenMenuVisible = !menus.hiddenMenuVisible;
        typed.clear();
        ui.beep();
        ui.beep();
    }
}

}  // namespace capzel
