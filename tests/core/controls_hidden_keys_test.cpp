// The access-word matcher of the hidden menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/AccessWord.h"
#include "records_fixtures.h"

using namespace capzel;

namespace {

struct Key {
    int code;
    int modifiers;
};

constexpr int S = kShiftKey;
constexpr int kF2 = 113;
constexpr int kShiftCode = 16;

std::vector<Key> shifted(const std::string& letters) {
    std::vector<Key> keys;
    for (char c : letters) keys.push_back({c, S});
    return keys;
}

std::vector<Key> operator+(std::vector<Key> a, const std::vector<Key>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Row {
    const char* what;
    std::vector<Key> keys;
    bool menuShown;
    int beeps;
    const char* typedAfter;
};

struct Window : test::Game {
    void press(const std::vector<Key>& keys) {
        for (const Key& k : keys) matchAccessWord(ctx, k.code, k.modifiers);
    }
};

}  // namespace

TEST(HiddenMenuKeys, Sequences) {
    const Row rows[] = {
        {"the word with Shift shows the menu", shifted("QUINCE"), true, 2, ""},
        {"the word again hides it", shifted("QUINCE") + shifted("QUINCE"), false, 4, ""},
        {"keys without Shift do not break the word",
         shifted("QU") + std::vector<Key>{{'A', 0}, {'B', 0}, {'C', 0}} + shifted("INCE"), true, 2, ""},
        {"a wrong Shift key costs the word", shifted("QX"), false, 1, ""},
        {"the wrong key starts no new attempt", shifted("QXU"), false, 2, ""},
        {"a wrong key after five letters", shifted("QUINCQ"), false, 1, ""},
        {"a partial word is kept as typed", shifted("QUI"), false, 0, "QUI"},
        {"Shift alone, repeated, changes nothing",
         std::vector<Key>{{kShiftCode, S}, {kShiftCode, S}, {kShiftCode, S}, {kShiftCode, 0}}, false, 0, ""},
        {"Shift alone inside the word",
         shifted("QU") + std::vector<Key>{{kShiftCode, S}, {kShiftCode, S}} + shifted("INCE"), true, 2, ""},
        {"Ctrl+Shift+Q changes nothing", std::vector<Key>{{'Q', S | kCtrlKey}}, false, 0, ""},
        {"Alt+Shift+Q changes nothing", std::vector<Key>{{'Q', S | kAltKey}}, false, 0, ""},
        {"Ctrl+Shift keys inside the word",
         shifted("QUI") + std::vector<Key>{{'X', S | kCtrlKey}, {'Z', kAltKey}} + shifted("NCE"), true, 2, ""},
        {"F2 with Shift gives q", std::vector<Key>{{kF2, S}} + shifted("UINCE"), true, 2, ""},
        {"F2 with Shift is only a q", std::vector<Key>{{kF2, S}}, false, 0, "q"},
        {"a digit with Shift is a wrong key", shifted("Q1"), false, 1, ""},
        {"a key without Shift on an empty word", std::vector<Key>{{'Q', 0}, {'X', 0}}, false, 0, ""},
    };
    for (const Row& r : rows) {
        Window w;
        w.field.guideItemVisible = true;  // the other hidden item is left alone
        w.press(r.keys);
        EXPECT_EQ(w.field.hiddenMenuVisible, r.menuShown) << r.what;
        EXPECT_EQ(w.ui.beeps, r.beeps) << r.what;
        EXPECT_EQ(w.field.typedKeys, r.typedAfter) << r.what;
        EXPECT_TRUE(w.field.guideItemVisible) << r.what;
        EXPECT_TRUE(w.ui.messages.empty() && w.ui.questions.empty()) << r.what;
    }
}

TEST(HiddenMenuKeys, CodesWithoutAPrintableCharacterAreWrongKeys) {
    // Control codes, DEL, OEM keys above 127, codes outside 16 bits.
    for (int code : {0, 9, 13, 27, 31, 127, 128, 186, 222, 255, 256, 65535, -1, -65, 70000, 0x01000031}) {
        Window w;
        w.press(shifted("QU"));
        w.press({{code, S}});
        EXPECT_EQ(w.field.typedKeys, "") << code;
        EXPECT_EQ(w.ui.beeps, 1) << code;
        EXPECT_FALSE(w.field.hiddenMenuVisible) << code;
    }
}
