// The turn as runs: stepped shots end as one-call shots; the controller's phases.
#include <gtest/gtest.h>

#include "support/RunDriver.h"
#include "model/Placement.h"
#include "support/ShotTable.h"

using namespace capzel;
using capzel::test::ShotTable;

TEST(PacedShot, StepByStepEndsAsTheWholeShot) {
    // One piece; two pieces meeting; a shot that moves nothing.
    const int players[] = {1, 3, 2};
    const int powers[] = {9405, 9405, 1310};
    for (int k = 0; k < 3; ++k) {
        ShotTable a(players[k]), b(players[k]);
        for (ShotTable* t : {&a, &b}) {
            for (int i = 1; i <= players[k]; ++i) t->place(i, float(2000 + 400 * i), float(8000 - 1500 * (i - 1)));
            t->field.board.pointer = {2550, 8150, 2550, 8450};
            t->g.power = std::int16_t(powers[k]);
        }
        const ShotResult whole = shootPiece(a.ctx);
        StepPace pace;
        ShotEvents events;
        PacedShot run(b.ctx, pace, events);
        EXPECT_EQ(run.wait(), kCalibrationYields);
        EXPECT_EQ(run.nextPiece(), 0);
        long steps = 0;
        int lastPiece = 0;
        for (run.advance(); !run.done(); run.advance()) {
            ASSERT_EQ(run.wait(), 6000);  // a clock that stands still: the long delay
            // Pieces step in player order within a cycle, and a cycle starts again at the lowest.
            EXPECT_TRUE(run.nextPiece() > lastPiece || run.nextPiece() <= players[k]);
            lastPiece = run.nextPiece();
            ++steps;
        }
        EXPECT_EQ(steps, whole.steps) << k;
        EXPECT_EQ(run.result().cycles, whole.cycles) << k;
        for (int i = 1; i <= players[k]; ++i) {
            EXPECT_EQ(b.piece(i).left, a.piece(i).left) << k << ", piece " << i;
            EXPECT_EQ(b.piece(i).top, a.piece(i).top) << k << ", piece " << i;
        }
        EXPECT_EQ(b.g.score, a.g.score);
        EXPECT_EQ(b.g.hitCount, a.g.hitCount);
    }
}

TEST(TurnController, PhasesOfATurn) {
    ShotTable t(1);
    t.g.seats[1].name = "Ann";
    t.place(1, 3500, 6000);
    t.ui.secondsPerYield = 1e-6;
    TurnController turn(t.ctx);
    EXPECT_EQ(turn.phase(), TurnPhase::Idle);
    turn.mouseMove(1, 0, 3650, 6400);
    EXPECT_EQ(turn.phase(), TurnPhase::Aiming);
    turn.mouseUp();
    EXPECT_EQ(turn.phase(), TurnPhase::Charging);
    EXPECT_TRUE(turn.charging() && turn.controls().goButton.box.visible && turn.controls().powerBar.box.visible);
    turn.startShot();  // a shot is only started from a charge that ended
    EXPECT_EQ(turn.phase(), TurnPhase::Charging);
    EXPECT_FALSE(turn.shotUnderWay());  // the bar is never run fast
    turn.goClicked();
    while (turn.phase() == TurnPhase::Charging) turn.advance();
    EXPECT_EQ(turn.phase(), TurnPhase::Shooting);
    EXPECT_TRUE(t.g.shotInProgress && turn.shotUnderWay());
    t.ui.onMessage = [&](const std::string&) { EXPECT_EQ(turn.phase(), TurnPhase::Judging); };
    test::drive(turn, t.ui);
    EXPECT_EQ(turn.phase(), TurnPhase::Idle);
    EXPECT_FALSE(t.g.shotInProgress || turn.charging());

    // A lone player whose shot leaves the piece in D wins: the judging
    // reports the end of the game.
    t.g.seats[1].position = 28;
    centrePieceOn(t.piece(1), t.field.board.spots[29]);
    turn.mouseMove(1, 0, 0, 0);
    t.g.power = 1310;  // too weak to move the piece
    turn.startShot();
    GameFlow flow = GameFlow::Continues;
    while (turn.running()) flow = turn.advance();
    EXPECT_EQ(flow, GameFlow::Ended);
    EXPECT_EQ(turn.phase(), TurnPhase::Judging);  // until the win is told
    EXPECT_EQ(turn.takeAnnouncements().back().kind, AnnouncementKind::Win);
    EXPECT_FALSE(t.g.gameRunning);
    EXPECT_EQ(turn.phase(), TurnPhase::GameOver);
}

TEST(TurnController, ADroppedRunLeavesNothingMoving) {
    for (int advances : {0, 3}) {  // during the charge, during the shot
        ShotTable t(2);
        t.place(1, 3500, 6000);
        t.ui.secondsPerYield = 1e-6;
        TurnController turn(t.ctx);
        turn.mouseMove(1, 0, 3650, 6400);
        turn.mouseUp();
        if (advances) turn.goClicked();  // dropped mid-charge, the bar still charging
        for (int k = 0; k < advances && turn.running(); ++k) turn.advance();
        ASSERT_EQ(turn.phase(), advances ? TurnPhase::Shooting : TurnPhase::Charging);
        turn.drop();
        EXPECT_FALSE(turn.running());
        EXPECT_FALSE(turn.charging() || t.g.shotInProgress);
        EXPECT_FALSE(turn.controls().powerBar.box.visible || turn.controls().goButton.box.visible);
        EXPECT_EQ(t.field.velocityX[1], 0.0f);
        EXPECT_EQ(t.field.velocityY[1], 0.0f);
        EXPECT_TRUE(t.ui.messages.empty());
    }
}

// Esc calls off an aim or a charge, never a shot: no shot is taken and the
// same player aims again.
TEST(TurnController, AnAimOrAChargeIsCalledOffButNotAShot) {
    ShotTable t(2);
    t.place(1, 3500, 6000);
    t.ui.secondsPerYield = 1e-6;
    TurnController turn(t.ctx);
    EXPECT_FALSE(turn.cancel());
    for (int charges : {0, 40}) {
        turn.mouseMove(1, 0, 3650, 6400);
        if (charges) turn.mouseUp();
        for (int k = 0; k < charges; ++k) turn.advance();
        ASSERT_EQ(turn.phase(), charges ? TurnPhase::Charging : TurnPhase::Aiming);
        ASSERT_TRUE(turn.cancel());
        EXPECT_EQ(turn.phase(), TurnPhase::Idle);
        EXPECT_FALSE(turn.charging() || t.field.board.pointer.visible || turn.controls().powerBar.box.visible);
        EXPECT_EQ(t.g.power, 0);
    }
    EXPECT_TRUE(t.ui.messages.empty());
    turn.mouseMove(1, 0, 3650, 6400);
    t.g.power = 9405;
    turn.startShot();
    EXPECT_FALSE(turn.cancel());
    test::drive(turn, t.ui);
    EXPECT_EQ(turn.judgedShots(), 1);
}
