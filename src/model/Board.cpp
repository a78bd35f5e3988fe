#include "model/Board.h"

#include "model/Numbers.h"
#include "model/WindowState.h"

namespace capzel {

namespace {

struct RectRow {
    float l, t, w, h;
};

constexpr RectRow kSpots[kSpotCount + 1] = {
    {0, 0, 0, 0},
    {1080, 7920, 1000, 1000},  // 1
    {8580, 450, 1005, 1005},   // 2
    {1080, 450, 1005, 1005},   // 3
    {8580, 7920, 1000, 1000},  // 4
    {4335, 450, 1005, 1005},   // 5
    {5330, 7920, 1005, 1005},  // 6
    {5330, 450, 1005, 1005},   // 7
    {4335, 7920, 1005, 1005},  // 8
    {8580, 3690, 1005, 1005},  // 9
    {1080, 4680, 1000, 1000},  // 10
    {8580, 4680, 1000, 1000},  // 11
    {1080, 3690, 1005, 1005},  // 12
    {4845, 4170, 1005, 1005},  // 13
    {1080, 3690, 1005, 1005},  // 14 = box 12
    {8580, 4680, 1005, 1005},  // 15 = box 11
    {1080, 4680, 1005, 1005},  // 16 = box 10
    {8580, 3690, 1005, 1005},  // 17 = box 9
    {4335, 7920, 1005, 1005},  // 18 = box 8
    {5330, 450, 1005, 1005},   // 19 = box 7
    {5330, 7920, 1005, 1005},  // 20 = box 6
    {4335, 450, 1005, 1005},   // 21 = box 5
    {8580, 7920, 1005, 1005},  // 22 = box 4
    {1080, 450, 1005, 1005},   // 23 = box 3
    {8580, 450, 1005, 1005},   // 24 = box 2
    {1080, 7920, 1005, 1005},  // 25 = box 1
    {4845, 3525, 1005, 660},   // 26 = A
    {5835, 4170, 660, 1005},   // 27 = B
    {4845, 5160, 1005, 660},   // 28 = C
    {4200, 4170, 660, 1005},   // 29 = D
};

constexpr RectRow kWalls[kWallCount + 1] = {
    {0, 0, 0, 0},
    {5280, 450, 135, 705},    // 1: join of boxes 5 and 7
    {5280, 8235, 135, 705},   // 2: join of boxes 8 and 6
    {8730, 4590, 855, 165},   // 3: join of boxes 9 and 11
    {1080, 4590, 720, 165},   // 4: join of boxes 12 and 10
    {7470, 4185, 135, 975},   // 5: right of the centre
    {3105, 4185, 135, 975},   // 6: left of the centre
    {4807, 2340, 1080, 165},  // 7: above the centre
    {4807, 6975, 1080, 165},  // 8: below the centre
    {10740, 4380, 135, 975},  // 9: right margin
    {10740, 4380, 135, 975},  // 10: right margin, on wall 9
};

struct PieceRow {
    float l, t;
    Color c;
};

constexpr PieceRow kPieces[kMaxPlayers + 1] = {
    {0, 0, 0},
    {10305, 90, 0},
    {10335, 405, rgb(255, 0, 0)},
    {10335, 720, rgb(255, 128, 0)},
    {10335, 1035, rgb(255, 255, 0)},
    {10335, 1350, rgb(0, 255, 0)},
    {10335, 1650, rgb(0, 255, 255)},
    {7110, 930, rgb(0, 0, 255)},
    {10335, 2250, rgb(255, 0, 255)},
};

struct LineRow {
    float x1, y1, x2, y2;
};

constexpr LineRow kCenterLines[4] = {
    {4200, 4170, 4845, 3525},
    {5835, 5805, 6480, 5160},
    {4200, 5160, 4845, 5805},
    {5835, 3525, 6480, 4170},
};

constexpr Color kCyan = rgb(0, 255, 255);
constexpr Color kMagenta = rgb(255, 0, 255);

struct GuideRow {
    float x1, y1, x2, y2;
    Color c;
};

constexpr GuideRow kGuides[kGuideCount] = {
    {600, 9390, 9945, 60, kCyan},      // 0
    {5355, 2190, 9990, 630, kCyan},    // 1
    {5355, 2190, 690, 630, kCyan},     // 2
    {10005, 9360, 735, 105, kCyan},    // 3
    {10005, 8700, 765, 2115, kCyan},   // 4
    {780, 2115, 780, 885, kMagenta},   // 5
    {0, 0, 0, 0, 0},                   // 6 does not exist
    {3570, 150, 780, 2130, kCyan},     // 7
    {3585, 150, 5805, 1830, kCyan},    // 8
    {795, 3345, 2520, 3345, kMagenta}, // 9
    {780, 3345, 780, 2115, kMagenta},  // 10
    {2505, 3330, 2505, 885, kMagenta}, // 11
    {3915, 2190, 3915, 1695, kMagenta},// 12
    {3915, 2190, 5370, 2190, kMagenta},// 13
    {4485, 3300, 6150, 3300, kMagenta},// 14
    {6795, 2190, 6795, 1695, kMagenta},// 15
    {6795, 1710, 3915, 1710, kMagenta},// 16
    {5355, 2190, 6810, 2190, kMagenta},// 17
    {2910, 615, 2910, 120, kMagenta},  // 18
    {2910, 150, 3585, 150, kMagenta},  // 19
    {4230, 630, 2910, 630, kMagenta},  // 20
    {4230, 645, 4230, 150, kMagenta},  // 21
    {3585, 150, 4260, 150, kMagenta},  // 22
    {780, 900, 2505, 900, kMagenta},   // 23
};

constexpr RectRow kPowerBarPlace{45, 2760, 480, 6585};
constexpr Color kWhite = rgb(255, 255, 255);
constexpr Color kBlack = 0;

Box box(const RectRow& r, bool visible, Color fill) {
    Box b;
    b.left = r.l;
    b.top = r.t;
    b.width = r.w;
    b.height = r.h;
    b.visible = visible;
    b.fillColor = fill;
    return b;
}

Line line(float x1, float y1, float x2, float y2, Color c, int width, bool visible) {
    Line l;
    l.x1 = x1;
    l.y1 = y1;
    l.x2 = x2;
    l.y2 = y2;
    l.lineColor = c;
    l.borderWidth = width;
    l.visible = visible;
    return l;
}

}  // namespace

Board makeBoardLayout() {
    Board b;
    b.fieldPicture = box({585, 0, 9510, 9435}, true, kBlack);
    b.leftLine = line(600, 0, 600, 9630, kWhite, 2, true);
    b.rightLine = line(10080, 45, 10080, 9630, kWhite, 2, true);
    for (int k = 1; k <= kSpotCount; ++k) b.spots[k] = box(kSpots[k], false, kBlack);
    for (int j = 1; j <= kWallCount; ++j) b.walls[j] = box(kWalls[j], true, rgb(255, 0, 0));
    b.pieceHolder = box({10245, 45, 450, 2550}, true, kBlack);
    for (int i = 1; i <= kMaxPlayers; ++i)
        b.pieces[i] = box({kPieces[i].l, kPieces[i].t, 300, 300}, true, kPieces[i].c);
    for (int c = 0; c < 4; ++c) {
        const auto& r = kCenterLines[c];
        b.centerLines[c] = line(r.x1, r.y1, r.x2, r.y2, kWhite, 1, false);
    }
    for (int g = 0; g < kGuideCount; ++g) {
        const auto& r = kGuides[g];
        b.guideLines[g] = line(r.x1, r.y1, r.x2, r.y2, r.c, 1, false);
    }
    b.pointer = line(10785, 1995, 10785, 3195, rgb(192, 0, 0), 1, false);
    b.pointer.style = LineStyle::DashDotDot;
    return b;
}

BoardControls makeBoardControls() {
    BoardControls c;
    c.powerBar.box = box(kPowerBarPlace, false, kWhite);
    c.goButton.box = box({50, 2280, 495, 435}, false, kBlack);
    c.goButton.caption = "Go";
    c.aimLabel.box = box({10125, 3375, 1095, 735}, false, kBlack);
    return c;
}

int powerBarRows() { return int(roundHalfEven(kPowerBarPlace.h)); }

std::string spotLabel(int k) {
    if (k >= 26 && k <= 29) return std::string(1, char('A' + (k - 26)));
    if (k >= 14 && k <= 25) return std::to_string(26 - k);
    return std::to_string(k);
}

}  // namespace capzel
