// What only a window keeps of a game: the field's picture with its centre and
// guide lines, the turn's controls on the field (the power bar, "Go", the aim
// label and whether the bar charges), the order in which the field's shapes
// are drawn, and the menus' states and songs. No rule and no engine pass
// reads these; two computers playing one game each keep their own.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/Board.h"

namespace capzel {

constexpr int kGuideCount = 24;  // indices 0..23; index 6 does not exist

// The marks a window draws on the field beside the game: the black picture
// the boxes lie on, the lines around the centre boxes and the guide lines
// the View menu shows.
struct FieldMarkings {
    Box fieldPicture;
    std::array<Line, 4> centerLines{};
    std::array<Line, kGuideCount> guideLines{};  // 0..5, 7..23

    static bool guideExists(int index) { return index >= 0 && index < kGuideCount && index != 6; }
};

// The marks as laid out, the guide lines hidden.
FieldMarkings makeFieldMarkings();

// The power bar: a white picture area in which the charge draws blue rows.
struct PowerBar {
    Box box;  // Left 45, Top 2760, Width 480, Height 6585
    // Rows drawn since the last clear, as [top, bottom] twip ranges inside
    // the bar (y = 0 at its top), in the order they were drawn.
    struct Span {
        int top;
        int bottom;
        int x1;
        int x2;
    };
    std::vector<Span> drawn;
    int revision = 0;  // grows at every clear or draw, so a view can skip repaints

    float scaleWidth() const { return box.width; }
    float scaleHeight() const { return box.height; }
    void clear() {
        drawn.clear();
        ++revision;
    }
    void drawRows(int top, int bottom, int x1, int x2) {
        drawn.push_back({top, bottom, x1, x2});
        ++revision;
    }
};

struct Button {
    Box box;
    std::string caption;
};

struct Label {
    Box box;
    std::string caption;
};

// The drawing order of the shapes that can be brought to the front (the
// pieces, the aim line and the guide lines): a higher number is drawn later.
// Every other shape keeps 0 and is drawn in its place of the layout.
struct DrawingOrder {
    std::array<int, kMaxPlayers + 1> pieces{};  // 1..8
    std::array<int, kGuideCount> guides{};
    int pointer = 0;
    int counter = 0;

    void raisePiece(int i) {
        if (i >= 1 && i <= kMaxPlayers) pieces[std::size_t(i)] = ++counter;
    }
    void raisePointer() { pointer = ++counter; }
    void raiseGuide(int g) {
        if (FieldMarkings::guideExists(g)) guides[std::size_t(g)] = ++counter;
    }
};

// The turn's controls on the field, as the turn sets them and a window
// shows them.
struct BoardControls {
    PowerBar powerBar;
    Button goButton;
    Label aimLabel;
    bool charging = false;  // the bar fills until "Go"
    int barLevel = 0;       // the charge's level (model/PowerBarScale.h)
    DrawingOrder order;
};

// The controls as laid out: all hidden, "Go" captioned.
BoardControls makeBoardControls();

// The menus' states and the music, which live as long as the window.
struct MenuState {
    std::string typedKeys;  // partial access word of the hidden menu
    bool hiddenMenuVisible = false;
    bool guideItemVisible = false;
    bool guideLinesChecked = false;
    bool loopChecked = false;
    int songNumber = 1;
    int songCount = 0;
};

}  // namespace capzel
