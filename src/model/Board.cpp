#include "model/Board.h"


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

constexpr Color kWhite = rgb(255, 255, 255);
constexpr Color kBlack = 0;

Box box(const RectRow& r, bool visible, Color fill) { return makeBox(r.l, r.t, r.w, r.h, visible, fill); }

}  // namespace

Board makeBoardLayout() {
    Board b;
    b.leftLine = makeLine(600, 0, 600, 9630, kWhite, 2, true);
    b.rightLine = makeLine(10080, 45, 10080, 9630, kWhite, 2, true);
    for (int k = 1; k <= kSpotCount; ++k) b.spots[k] = box(kSpots[k], false, kBlack);
    for (int j = 1; j <= kWallCount; ++j) b.walls[j] = box(kWalls[j], true, rgb(255, 0, 0));
    b.pieceHolder = box({10245, 45, 450, 2550}, true, kBlack);
    for (int i = 1; i <= kMaxPlayers; ++i)
        b.pieces[i] = box({kPieces[i].l, kPieces[i].t, 300, 300}, true, kPieces[i].c);
    b.pointer = makeLine(10785, 1995, 10785, 3195, rgb(192, 0, 0), 1, false);
    b.pointer.style = LineStyle::DashDotDot;
    return b;
}

std::string spotLabel(int k) {
    if (k >= 26 && k <= 29) return std::string(1, char('A' + (k - 26)));
    if (k >= 14 && k <= 25) return std::to_string(26 - k);
    return std::to_string(k);
}

}  // namespace capzel
