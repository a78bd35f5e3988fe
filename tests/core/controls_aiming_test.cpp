// Aiming, placing a piece by hand and firing from the power bar.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>

#include "controls/Aiming.h"
#include "rules/Rulebook.h"
#include "support/RunDriver.h"
#include "support/ShotTable.h"

using namespace capzel;
using capzel::test::FakePlatform;

namespace {

// The budget turns a charge that never ends into a failure.
struct BoundedPlatform : FakePlatform {
    long budget = 50'000'000;
    bool exhausted = false;
    bool yield(long count) override {
        const bool running = FakePlatform::yield(count);
        if (yields > budget) exhausted = true;
        return running && !exhausted;
    }
};

// P1 and P2 on their way to box 2, P1 to shoot from the middle of the field, away from every box and wall.
Game openField(const std::function<void(Game&)>& edit) {
    test::ShotTable t(2);
    for (int i = 1; i <= 2; ++i) {
        t.g.seats[i].name = std::string("P").append(std::to_string(i));  // not "P" + ...: a GCC 12 false alarm
        t.g.seats[i].position = 1;
    }
    t.place(1, 3500, 6000);
    t.place(2, 9000, 9000);
    if (edit) edit(t.g);
    return t.g;
}

struct Table : test::TurnTable<BoundedPlatform> {
    explicit Table(const std::function<void(Game&)>& edit = {}) : TurnTable(openField(edit)) {
        ui.secondsPerYield = 1e-6;  // a fast machine: 10,000 yields in 0.01 s
    }
    // A button released over the field, and the turn played to its end.
    void release() { turn.mouseUp(), test::drive(turn, ui); }
    int barLevel() const { return turn.controls().barLevel; }
};

}  // namespace

TEST(Aiming, LabelHoldsCentreMouseAndDifference) {
    EXPECT_EQ(aimLabelText(3650, 6150, 4000.5f, 100), "3650,6150\r\n4000.5,100\r\n-350.5,6050");
    EXPECT_EQ(aimLabelText(1234567.f, 0.1f, 0, -2), "1234567,0.1\r\n0,-2\r\n1234567,2.1");
}

TEST(Aiming, LeftButtonAloneDrawsTheAimLine) {
    struct Row { int buttons; int shift; bool running; bool shot; bool aims; };
    const Row rows[] = {
        {1, 0, true, false, true},   {1, 1, true, false, true},  // shift does not matter for aiming
        {3, 0, true, false, false},  {2, 0, true, false, false}, {1, 0, false, false, false},
        {1, 0, true, true, false},
    };
    for (const Row& r : rows) {
        Table t([&](Game& g) { g.gameRunning = r.running, g.shotInProgress = r.shot; });
        t.turn.mouseMove(r.buttons, r.shift, 2000, 1000);
        const Line& p = t.turn.pending().aim;
        EXPECT_EQ(p.visible, r.aims) << r.buttons << "/" << r.running << "/" << r.shot;
        if (r.aims) {
            EXPECT_EQ(std::tie(p.x1, p.y1, p.x2, p.y2), std::tuple(3650.0f, 6150.0f, 2000.0f, 1000.0f));
            EXPECT_EQ(t.turn.controls().aimLabel.caption, "3650,6150\r\n2000,1000\r\n1650,5150");
        }
    }
}

TEST(Aiming, HandPlacementStaysInTheBox) {
    // Region 1: Left 1080, Top 7920, 1000 x 1000.
    struct Row { int buttons, shift; bool moveable; int position; float x, y, left, top; };  // keep: unchanged
    const float keep = -1;
    const Row rows[] = {
        {0, 1, true, 1, 1500, 8400, 1350, 8250},     // centred on the mouse
        {0, 1, true, 1, 9000, 8400, 1780, 8250},     // far right: against the right edge
        {0, 1, true, 1, 0, 0, 1080, 7920},           // far up-left: against the top-left corner
        {0, 1, true, 1, 1500, 9999, 1350, 8620},     // far down: against the bottom edge
        {0, 1, false, 1, 1500, 8400, keep, keep},    // not moveable: refused
        {0, 3, true, 1, 1500, 8400, keep, keep},     // Shift with Ctrl: refused
        {1, 1, true, 1, 1500, 8400, keep, keep},     // a button held: that is aiming
        {0, 1, true, 0, 1500, 8400, keep, keep},     // no box yet
        {0, 1, true, 30, 1500, 8400, keep, keep},    // past the course: no box
    };
    for (const Row& r : rows) {
        Table t([&](Game& g) { g.seats[1].moveableNextTurn = r.moveable, g.seats[1].position = r.position; });
        const Game before = t.game();
        t.turn.mouseMove(r.buttons, r.shift, r.x, r.y);
        // The piece stays on the board's side until "Go"; the game is not written.
        const std::optional<HandPlacement>& placed = t.turn.pending().placement;
        const Box shown = t.turn.shownGame().piece(1);
        EXPECT_EQ(placed.has_value(), r.left != keep) << r.x << "," << r.y;
        EXPECT_EQ(shown.left, r.left == keep ? before.piece(1).left : r.left) << r.x << "," << r.y;
        EXPECT_EQ(shown.top, r.top == keep ? before.piece(1).top : r.top) << r.x << "," << r.y;
        EXPECT_TRUE(t.game() == before);
        // Wherever the mouse puts it, the rulebook takes the shot from there.
        if (placed) { EXPECT_EQ(validate(t.game(), t.turn.pendingShot(3000)), std::nullopt) << r.x << "," << r.y; }
    }
}

namespace {
struct ChargeOutcome { int launchedPower = -1, levelAtGo = 0; };  // -1: no shot went

// Charges the bar and presses "Go" when `pressAt`, asked with the bar's level at every wait of the charge.
ChargeOutcome chargeAndFire(Table& t, const std::function<bool(int)>& pressAt) {
    ChargeOutcome out;
    bool pressed = false;
    t.ui.onYield = [&] {
        if (!pressed && t.turn.charging() && pressAt(t.barLevel())) {
            pressed = true;
            out.levelAtGo = t.barLevel();
            t.turn.goClicked();
        }
        if (t.game().shotInProgress && out.launchedPower < 0) out.launchedPower = t.game().launchStrength;
    };
    t.release();
    t.ui.onYield = nullptr;
    EXPECT_FALSE(t.ui.exhausted) << "the charge never ended";
    return out;
}
}  // namespace

TEST(PowerBar, GoFiresWithTheStrengthOfTheLevelReached) {
    struct Row { int level, fills, launched; };  // the bar's level at "Go" after that many full fills; the strength
    const Row rows[] = {
        {6575, 0, 542},    // the first tick: 9390 - 6575 = 2815 -> (2815 / 250)^2.6 = 542.0007
        {-15, 0, 12476},   // the top of a full bar: 9405 / 250 = 37.62 -> 37.62^2.6, rounded
        {6005, 1, 875},    // (3385 / 250)^2.6 = 875.4
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.level);
        Table t;
        t.turn.mouseMove(1, 0, 3650, 6400);  // aim straight down: the shot goes up
        int fills = 0;
        int last = 10000;
        const ChargeOutcome out = chargeAndFire(t, [&](int level) {
            if (level > last) ++fills;
            last = level;
            return fills == r.fills && level == r.level;
        });
        EXPECT_EQ(out.levelAtGo, r.level);
        EXPECT_EQ(out.launchedPower, r.launched);
        EXPECT_GT(t.turn.pace().delay(), 0);
        EXPECT_EQ(t.game().launchStrength, 0);
        EXPECT_FALSE(t.game().shotInProgress || t.turn.charging() || t.turn.controls().powerBar.box.visible ||
                     t.turn.controls().goButton.box.visible || t.turn.pending().aim.visible ||
                     t.game().board.pointer.visible);
        EXPECT_LT(t.game().piece(1).top, 6000.0f);  // the piece went up
        EXPECT_EQ(t.game().currentTurn, 2);
        EXPECT_EQ(t.ui.messages, std::vector<std::string>{"P2's turn start.  Target: 2"});  // the shot achieved nothing
    }
}

TEST(PowerBar, DrawsElevenRowsPerTickAndLeavesTheGaps) {
    Table t;
    t.turn.mouseMove(1, 0, 3650, 6400);
    std::vector<PowerBar::Span> drawn;
    chargeAndFire(t, [&](int level) {
        if (level == 4405) {
            drawn = t.turn.controls().powerBar.drawn;
            return true;
        }
        return false;
    });
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(std::tie(drawn.front().top, drawn.front().bottom, drawn.front().x1, drawn.front().x2),
              std::tuple(6565, 6575, 50, 430));
    for (const auto& s : drawn) EXPECT_FALSE(levelInGap(s.bottom, 6585)) << s.bottom;
    // From 6575 down to 4400 in steps of 10: 218 ticks, 9 of them in the first gap.
    EXPECT_EQ(drawn.size(), 218u - 9u);
}

TEST(PowerBar, GoWithoutAnAimPlaysNoShot) {
    Table t;
    const ChargeOutcome out = chargeAndFire(t, [](int level) { return level == 4995; });
    EXPECT_EQ(out.launchedPower, -1);
    EXPECT_TRUE(t.turn.controls().powerBar.box.visible);  // the bar stays as drawn, "Go" goes
    EXPECT_FALSE(t.turn.charging() || t.turn.controls().goButton.box.visible);
    EXPECT_EQ(t.game().currentTurn, 1);
    EXPECT_TRUE(t.match.record().entries.empty());
    EXPECT_TRUE(t.ui.messages.empty());
}

TEST(PowerBar, IgnoredWhileNoGameRunsOrDuringAShot) {
    for (bool running : {false, true}) {
        Table t([&](Game& g) { g.gameRunning = g.shotInProgress = running; });  // running: in the middle of a shot
        t.release();
        EXPECT_FALSE(t.turn.charging());
        EXPECT_EQ(t.ui.yields, 0);
        EXPECT_FALSE(t.turn.controls().powerBar.box.visible);
    }
}

TEST(PowerBar, ASecondReleaseDuringTheChargeIsIgnored) {
    Table t;
    t.turn.mouseMove(1, 0, 3650, 6400);
    int launches = 0;
    bool wasShooting = false;
    bool released = false;
    t.ui.onYield = [&] {
        if (t.turn.charging() && t.barLevel() == 6005 && !released) {
            released = true;
            t.turn.mouseUp();  // must change nothing, not charge again
            t.turn.goClicked();
        }
        if (t.game().shotInProgress && !wasShooting) ++launches;
        wasShooting = t.game().shotInProgress;
    };
    t.release();
    EXPECT_TRUE(released);
    EXPECT_FALSE(t.ui.exhausted);
    EXPECT_EQ(launches, 1);
    EXPECT_EQ(t.game().currentTurn, 2);  // one shot judged: the turn passed once
}

// A full bar pauses 0.1 s at the top; a clock that went back ends the pause.
TEST(PowerBar, PausesATenthOfASecondAtTheTop) {
    for (bool midnight : {false, true}) {
        Table t;
        t.turn.mouseMove(1, 0, 3650, 6400);
        long topAt = -1, restartAt = -1;
        chargeAndFire(t, [&](int level) {
            if (level < -10 && topAt < 0) {  // the last level: the pause has begun
                topAt = t.ui.yields;
                if (midnight) t.ui.clockNow = 0;
            }
            if (topAt >= 0 && level > 6000 && restartAt < 0) restartAt = t.ui.yields;
            return restartAt >= 0;
        });
        EXPECT_NEAR(double(restartAt - topAt) * t.ui.secondsPerYield, midnight ? 0.0 : 0.1, 0.001) << midnight;
    }
}

// The time 10,000 yields take picks the pace: a shot's from its bands (a
// clock that gives no number, the shortest); the bar's from its own, a time
// between them leaving the pace the last shot left (400: a shot at 0.1 s).
TEST(PowerBar, CalibrationPicksThePaceOfAShotAndOfTheCharge) {
    const double none = std::nan("");
    const double rows[][3] = {{0.0, 6000, 200}, {0.04, 6000, 200}, {0.05, 400, 400}, {0.1, 400, 400},
                              {0.11, 400, 40},  {0.19, 400, 40},   {0.194, 400, 40}, {0.2, 100, 400},
                              {0.21, 100, 1},   {0.5, 100, 1},     {none, 100, none}};
    for (const auto& [seconds, shotDelay, barDelay] : rows) {
        Table t;
        const auto shootAt = [&](double s) {
            t.ui.clockNow = 43200;
            t.ui.secondsPerYield = s / 10000;
            ASSERT_EQ(t.turn.fire(t.turn.pendingShot(0)), std::nullopt);  // no aim, no strength: nothing moves
            test::drive(t.turn, t.ui);
        };
        shootAt(seconds);
        EXPECT_EQ(t.turn.pace().delay(), shotDelay) << seconds;
        if (std::isnan(barDelay)) continue;
        shootAt(0.1);
        t.ui.secondsPerYield = seconds / 10000;
        chargeAndFire(t, [](int) { return true; });
        EXPECT_EQ(t.turn.pace().delay(), barDelay) << seconds;
    }
}
