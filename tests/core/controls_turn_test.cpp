// The turn at the board, as runs on a match: its phases, a run dropped or called off.
#include <gtest/gtest.h>

#include "model/Placement.h"
#include "support/RunDriver.h"
#include "support/ShotTable.h"

using namespace capzel;
using capzel::test::ShotTable;
using Table = capzel::test::TurnTable<>;

namespace {

// Player 1 alone, or with player 2, away from every box and wall.
Game openField(int players) {
    ShotTable t(players);
    t.g.seats[1].name = "Ann";
    t.place(1, 3500, 6000);
    return t.g;
}

}  // namespace

TEST(TurnController, PhasesOfATurn) {
    Table t(openField(1));
    t.ui.secondsPerYield = 1e-6;
    TurnController& turn = t.turn;
    EXPECT_EQ(turn.phase(), TurnPhase::Idle);
    turn.mouseMove(1, 0, 3650, 6400);
    EXPECT_EQ(turn.phase(), TurnPhase::Aiming);
    turn.mouseUp();
    EXPECT_EQ(turn.phase(), TurnPhase::Charging);
    EXPECT_TRUE(turn.charging() && turn.controls().goButton.box.visible && turn.controls().powerBar.box.visible);
    EXPECT_FALSE(turn.shotUnderWay());  // the bar is never run fast
    turn.goClicked();
    while (turn.phase() == TurnPhase::Charging) turn.advance();
    EXPECT_EQ(turn.phase(), TurnPhase::Shooting);
    EXPECT_TRUE(t.game().shotInProgress && turn.shotUnderWay());
    EXPECT_FALSE(turn.fire(turn.pendingShot(100)) == std::nullopt);  // one shot at a time
    t.ui.onMessage = [&](const std::string&) { EXPECT_EQ(turn.phase(), TurnPhase::Judging); };
    test::drive(turn, t.ui);
    EXPECT_EQ(turn.phase(), TurnPhase::Idle);
    EXPECT_FALSE(t.game().shotInProgress || turn.charging());
    EXPECT_EQ(t.match.record().shotCount(), 1);

    // A lone player whose shot leaves the piece in D wins: the judging reports the end of the game.
    Game onD = openField(1);
    onD.seats[1].position = 28;
    centrePieceOn(onD.piece(1), onD.board.spots[29]);
    Table last(onD);
    last.turn.mouseMove(1, 0, 0, 0);
    ASSERT_EQ(last.turn.fire(last.turn.pendingShot(1310)), std::nullopt);  // too weak to move the piece
    GameFlow flow = GameFlow::Continues;
    while (last.turn.running()) flow = last.turn.advance();
    EXPECT_EQ(flow, GameFlow::Ended);
    EXPECT_EQ(last.turn.phase(), TurnPhase::Judging);  // until the win is told
    EXPECT_EQ(last.turn.takeAnnouncements().back().kind, AnnouncementKind::Win);
    EXPECT_FALSE(last.game().gameRunning);
    EXPECT_EQ(last.turn.phase(), TurnPhase::GameOver);
}

// A run dropped during the charge or the shot leaves the game as it was, and nothing in the record.
TEST(TurnController, ADroppedRunLeavesTheGameAsItWas) {
    for (int advances : {0, 3}) {  // during the charge, during the shot
        Table t(openField(2));
        t.ui.secondsPerYield = 1e-6;
        const std::uint64_t before = t.game().hash();
        t.turn.mouseMove(1, 0, 3650, 6400);
        t.turn.mouseUp();
        if (advances) t.turn.goClicked();  // dropped mid-charge, the bar still charging
        for (int k = 0; k < advances && t.turn.running(); ++k) t.turn.advance();
        ASSERT_EQ(t.turn.phase(), advances ? TurnPhase::Shooting : TurnPhase::Charging);
        t.turn.drop();
        EXPECT_FALSE(t.turn.running() || t.turn.charging() || t.game().shotInProgress || t.turn.pending().aim.visible);
        EXPECT_FALSE(t.turn.controls().powerBar.box.visible || t.turn.controls().goButton.box.visible);
        EXPECT_EQ(t.game().hash(), before);  // speeds too
        EXPECT_TRUE(t.match.record().entries.empty());
        EXPECT_TRUE(t.ui.messages.empty());
    }
}

// Esc calls off an aim or a charge, never a shot: no shot is taken and the same player aims again.
TEST(TurnController, AnAimOrAChargeIsCalledOffButNotAShot) {
    Table t(openField(2));
    t.ui.secondsPerYield = 1e-6;
    const std::uint64_t before = t.game().hash();
    EXPECT_FALSE(t.turn.cancel());
    for (int charges : {0, 40}) {
        t.turn.mouseMove(1, 0, 3650, 6400);
        if (charges) t.turn.mouseUp();
        for (int k = 0; k < charges; ++k) t.turn.advance();
        ASSERT_EQ(t.turn.phase(), charges ? TurnPhase::Charging : TurnPhase::Aiming);
        ASSERT_TRUE(t.turn.cancel());
        EXPECT_EQ(t.turn.phase(), TurnPhase::Idle);
        EXPECT_FALSE(t.turn.charging() || t.turn.pending().aim.visible || t.turn.controls().powerBar.box.visible);
        EXPECT_EQ(t.game().hash(), before);
    }
    EXPECT_TRUE(t.ui.messages.empty());
    t.turn.mouseMove(1, 0, 3650, 6400);
    ASSERT_EQ(t.turn.fire(t.turn.pendingShot(9405)), std::nullopt);
    EXPECT_FALSE(t.turn.cancel());
    test::drive(t.turn, t.ui);
    EXPECT_EQ(t.turn.judgedShots(), 1);
}
