// Aiming, placing a piece by hand and firing from the power bar.
#include <gtest/gtest.h>

#include "controls/Aiming.h"
#include "support/RunDriver.h"

using namespace capzel;
using capzel::test::FakePlatform;

namespace {

// Bar levels all end in 5 (h = 6585): the budget turns a charge that never ends into a failure.
struct BoundedPlatform : FakePlatform {
    long budget = 50'000'000;
    bool exhausted = false;
    bool yield(long count) override {
        const bool running = FakePlatform::yield(count);
        if (yields > budget) exhausted = true;
        return running && !exhausted;
    }
};

struct Table {
    Game g;
    Field field;
    BoundedPlatform ui;
    GameContext ctx{g, field, ui};
    TurnController turn{ctx};

    // A button released over the field, and the turn played to its end.
    void release() {
        turn.mouseUp();
        test::drive(turn, ui);
    }

    explicit Table(int players = 2) {
        g.numberOfPlayers = std::int16_t(players);
        g.recreatePerGameTables();
        g.gameRunning = true;
        g.currentTurn = 1;
        for (int i = 1; i <= players; ++i) {
            g.seats[i].name = std::string("P").append(std::to_string(i));  // not "P" + ...: a GCC 12 false alarm
            g.seats[i].friction = 98;
            g.seats[i].inGame = true;
            g.seats[i].position = 1;
        }
        // Player 1 in the middle of the field, away from every box and wall.
        field.board.pieces[1].left = 3500;
        field.board.pieces[1].top = 6000;
        field.board.pieces[2].left = 9000;
        field.board.pieces[2].top = 9000;
        ui.secondsPerYield = 1e-6;  // a fast machine: 10,000 yields in 0.01 s
    }
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
        Table t;
        t.g.gameRunning = r.running;
        t.g.shotInProgress = r.shot;
        t.turn.mouseMove(r.buttons, r.shift, 2000, 1000);
        const Line& p = t.field.board.pointer;
        EXPECT_EQ(p.visible, r.aims) << r.buttons << "/" << r.running << "/" << r.shot;
        if (r.aims) {
            EXPECT_EQ(p.x1, 3650.0f);
            EXPECT_EQ(p.y1, 6150.0f);
            EXPECT_EQ(p.x2, 2000.0f);
            EXPECT_EQ(p.y2, 1000.0f);
            EXPECT_EQ(t.turn.controls().aimLabel.caption, "3650,6150\r\n2000,1000\r\n1650,5150");
        }
    }
}

TEST(Aiming, HandPlacementStaysInTheBox) {
    // Region 1: Left 1080, Top 7920, 1000 x 1000.
    struct Row {
        int buttons, shift;
        bool moveable;
        int position;
        float x, y;
        float left, top;  // expected; keep = unchanged
    };
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
        Table t;
        t.g.seats[1].moveableNextTurn = r.moveable;
        t.g.seats[1].position = r.position;
        Box& piece = t.field.board.pieces[1];
        const float oldLeft = piece.left, oldTop = piece.top;
        t.turn.mouseMove(r.buttons, r.shift, r.x, r.y);
        EXPECT_EQ(piece.left, r.left == keep ? oldLeft : r.left) << r.x << "," << r.y;
        EXPECT_EQ(piece.top, r.top == keep ? oldTop : r.top) << r.x << "," << r.y;
    }
}

namespace {
// Charges the bar and presses "Go" when `pressAt` says so.
struct ChargeOutcome {
    int launchedPower = -1;
    int levelAtGo = 0;
    bool shot = false;
};

ChargeOutcome chargeAndFire(Table& t, const std::function<bool(const Game&)>& pressAt) {
    ChargeOutcome out;
    bool pressed = false;
    t.ui.onYield = [&] {
        if (!pressed && t.turn.charging() && pressAt(t.g)) {
            pressed = true;
            out.levelAtGo = t.g.power;
            t.turn.goClicked();
        }
        if (t.g.shotInProgress && out.launchedPower < 0) {
            out.shot = true;
            out.launchedPower = t.g.power;
        }
    };
    t.release();
    t.ui.onYield = nullptr;
    EXPECT_FALSE(t.ui.exhausted) << "the charge never ended";
    return out;
}
}  // namespace

TEST(PowerBar, GoFiresWithTheStrengthOfTheLevelReached) {
    struct Row {
        int level;     // of the bar when "Go" is pressed
        int fills;     // full fills before, after each of which the bar restarts from empty
        int launched;  // the strength after the curve
    };
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
        const ChargeOutcome out = chargeAndFire(t, [&](const Game& g) {
            if (g.power > last) ++fills;
            last = g.power;
            return fills == r.fills && g.power == r.level;
        });
        ASSERT_TRUE(out.shot);
        EXPECT_EQ(out.levelAtGo, r.level);
        EXPECT_EQ(out.launchedPower, r.launched);
        EXPECT_GT(t.turn.pace().delay(), 0);
        EXPECT_FALSE(t.g.shotInProgress);
        EXPECT_FALSE(t.turn.charging());
        EXPECT_EQ(t.g.power, 0);
        EXPECT_FALSE(t.turn.controls().powerBar.box.visible);
        EXPECT_FALSE(t.turn.controls().goButton.box.visible);
        EXPECT_FALSE(t.field.board.pointer.visible);
        EXPECT_LT(t.field.board.pieces[1].top, 6000.0f);  // the piece went up
        // The shot achieved nothing, so the rules passed the turn to player 2.
        EXPECT_EQ(t.g.currentTurn, 2);
        ASSERT_FALSE(t.ui.messages.empty());
        EXPECT_EQ(t.ui.messages.back(), "P2's turn start.  Target: 2");
    }
}

TEST(PowerBar, DrawsElevenRowsPerTickAndLeavesTheGaps) {
    Table t;
    t.turn.mouseMove(1, 0, 3650, 6400);
    std::vector<PowerBar::Span> drawn;
    chargeAndFire(t, [&](const Game& g) {
        if (g.power == 4405) {
            drawn = t.turn.controls().powerBar.drawn;
            return true;
        }
        return false;
    });
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.front().top, 6565);
    EXPECT_EQ(drawn.front().bottom, 6575);
    EXPECT_EQ(drawn.front().x1, 50);
    EXPECT_EQ(drawn.front().x2, 430);
    for (const auto& s : drawn) EXPECT_FALSE(levelInGap(s.bottom, 6585)) << s.bottom;
    // From 6575 down to 4400 in steps of 10: 218 ticks, 9 of them in the first gap.
    EXPECT_EQ(drawn.size(), 218u - 9u);
}

TEST(PowerBar, GoWithoutAnAimPlaysNoShot) {
    Table t;
    const ChargeOutcome out = chargeAndFire(t, [](const Game& g) { return g.power == 4995; });
    EXPECT_FALSE(out.shot);
    EXPECT_TRUE(t.turn.controls().powerBar.box.visible);  // the bar stays as drawn
    EXPECT_FALSE(t.turn.charging());
    EXPECT_EQ(t.g.currentTurn, 1);
    EXPECT_TRUE(t.ui.messages.empty());
}

TEST(PowerBar, IgnoredWhileNoGameRunsOrDuringAShot) {
    for (bool running : {false, true}) {
        Table t;
        t.g.gameRunning = running;
        t.g.shotInProgress = running;  // a running game in the middle of a shot
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
        if (t.turn.charging() && t.g.power == 6005 && !released) {
            released = true;
            t.turn.mouseUp();  // must change nothing, not charge again
            t.turn.goClicked();
        }
        if (t.g.shotInProgress && !wasShooting) ++launches;
        wasShooting = t.g.shotInProgress;
    };
    t.release();
    EXPECT_TRUE(released);
    EXPECT_FALSE(t.ui.exhausted);
    EXPECT_EQ(launches, 1);
    EXPECT_EQ(t.g.currentTurn, 2);  // one shot judged: the turn passed once
}

// A full bar pauses 0.1 s at the top; a clock that went back ends the pause.
TEST(PowerBar, PausesATenthOfASecondAtTheTop) {
    for (bool midnight : {false, true}) {
        Table t;
        t.turn.mouseMove(1, 0, 3650, 6400);
        long topAt = -1, restartAt = -1;
        chargeAndFire(t, [&](const Game& g) {
            if (g.power < -10 && topAt < 0) {  // the last level: the pause has begun
                topAt = t.ui.yields;
                if (midnight) t.ui.clockNow = 0;
            }
            if (topAt >= 0 && g.power > 6000 && restartAt < 0) restartAt = t.ui.yields;
            return restartAt >= 0;
        });
        EXPECT_NEAR(double(restartAt - topAt) * t.ui.secondsPerYield, midnight ? 0.0 : 0.1, 0.001) << midnight;
    }
}

// The time 10,000 yields take picks the pace; other times leave the pace
// the last shot left (400 here: a shot calibrated at 0.1 s).
TEST(PowerBar, CalibrationPicksThePaceOfTheCharge) {
    const double rows[][2] = {{0.0, 200}, {0.04, 200}, {0.05, 400}, {0.1, 400}, {0.11, 40},
                              {0.19, 40}, {0.2, 400},  {0.21, 1}};
    for (const auto& r : rows) {
        Table t;
        t.ui.secondsPerYield = 0.1 / 10000;
        t.turn.startShot();
        test::drive(t.turn, t.ui);
        t.ui.secondsPerYield = r[0] / 10000;
        chargeAndFire(t, [](const Game&) { return true; });
        EXPECT_EQ(t.turn.pace().delay(), r[1]) << r[0];
    }
}
