#include "model/WindowState.h"

#include "model/PowerBarScale.h"

namespace capzel {

namespace {

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

constexpr Color kWhite = rgb(255, 255, 255);

}  // namespace

FieldMarkings makeFieldMarkings() {
    FieldMarkings m;
    m.fieldPicture = makeBox(585, 0, 9510, 9435, true, 0);
    for (std::size_t c = 0; c < m.centerLines.size(); ++c) {
        const auto& r = kCenterLines[c];
        m.centerLines[c] = makeLine(r.x1, r.y1, r.x2, r.y2, kWhite, 1, false);
    }
    for (std::size_t g = 0; g < kGuideCount; ++g) {
        const auto& r = kGuides[g];
        m.guideLines[g] = makeLine(r.x1, r.y1, r.x2, r.y2, r.c, 1, false);
    }
    return m;
}

BoardControls makeBoardControls() {
    BoardControls c;
    c.powerBar.box = makeBox(kPowerBarLeft, kPowerBarTop, kPowerBarWidth, kPowerBarHeight, false, rgb(255, 255, 255));
    c.goButton.box = makeBox(50, 2280, 495, 435, false, 0);
    c.goButton.caption = "Go";
    c.aimLabel.box = makeBox(10125, 3375, 1095, 735, false, 0);
    return c;
}

}  // namespace capzel
