// The access-word matcher of the hidden menu.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "controls/AccessWord.h"
#include "support/FakePlatform.h"

using namespace capzel;

namespace {

// Keys as a string: upper case or a digit is the key with Shift, lower case without; "~" before a key adds
// Ctrl, "!" Alt; "^" is the Shift key itself with Shift down, "_" without; "#" is Shift+F2.
struct Window {
    MenuState menus;
    test::FakePlatform ui;

    void press(int code, int modifiers) { matchAccessWord(menus, ui, code, modifiers); }
    void type(const std::string& keys) {
        int extra = 0;
        for (const char c : keys) {
            if (c == '~' || c == '!') {
                extra |= c == '~' ? kCtrlKey : kAltKey;
                continue;
            }
            if (c == '^' || c == '_') press(16, c == '^' ? kShiftKey : 0);
            else if (c == '#') press(113, kShiftKey);
            else press(std::toupper(c), (std::islower(c) ? 0 : kShiftKey) | extra);
            extra = 0;
        }
    }
};

}  // namespace

TEST(HiddenMenuKeys, Sequences) {
    const struct { const char* what; const char* keys; bool menuShown; int beeps; const char* typedAfter; } rows[] = {
        {"the word with Shift shows the menu", "QUINCE", true, 2, ""},
        {"the word again hides it", "QUINCEQUINCE", false, 4, ""},
        {"keys without Shift do not break the word", "QUabcINCE", true, 2, ""},
        {"a wrong Shift key costs the word", "QX", false, 1, ""},
        {"the wrong key starts no new attempt", "QXU", false, 2, ""},
        {"a wrong key after five letters", "QUINCQ", false, 1, ""},
        {"a partial word is kept as typed", "QUI", false, 0, "QUI"},
        {"Shift alone, repeated, changes nothing", "^^^_", false, 0, ""},
        {"Shift alone inside the word", "QU^^INCE", true, 2, ""},
        {"Ctrl+Shift+Q changes nothing", "~Q", false, 0, ""},
        {"Alt+Shift+Q changes nothing", "!Q", false, 0, ""},
        {"Ctrl+Shift and Alt keys inside the word", "QUI~X!zNCE", true, 2, ""},
        {"F2 with Shift gives q", "#UINCE", true, 2, ""},
        {"F2 with Shift is only a q", "#", false, 0, "q"},
        {"a digit with Shift is a wrong key", "Q1", false, 1, ""},
        {"a key without Shift on an empty word", "qx", false, 0, ""},
    };
    for (const auto& r : rows) {
        Window w;
        w.menus.guideItemVisible = true;  // the other hidden item is left alone
        w.type(r.keys);
        EXPECT_EQ(w.menus.hiddenMenuVisible, r.menuShown) << r.what;
        EXPECT_EQ(w.ui.beeps, r.beeps) << r.what;
        EXPECT_EQ(w.menus.typedKeys, r.typedAfter) << r.what;
        EXPECT_TRUE(w.menus.guideItemVisible) << r.what;
        EXPECT_TRUE(w.ui.messages.empty() && w.ui.questions.empty()) << r.what;
    }
}

TEST(HiddenMenuKeys, CodesWithoutAPrintableCharacterAreWrongKeys) {
    // Control codes, DEL, OEM keys above 127, codes outside 16 bits.
    for (int code : {0, 9, 13, 27, 31, 127, 128, 186, 222, 255, 256, 65535, -1, -65, 70000, 0x01000031}) {
        Window w;
        w.type("QU");
        w.press(code, kShiftKey);
        EXPECT_EQ(w.menus.typedKeys, "") << code;
        EXPECT_EQ(w.ui.beeps, 1) << code;
        EXPECT_FALSE(w.menus.hiddenMenuVisible) << code;
    }
}
