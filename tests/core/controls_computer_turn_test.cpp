// A computer's turn through the board's own controls: phases, and the pieces where the plan leaves them.
#include <gtest/gtest.h>

#include <vector>

#include "controls/Announcing.h"
#include "controls/ComputerTurn.h"
#include "model/Placement.h"
#include "support/RunDriver.h"
#include "support/ShotTable.h"

using namespace capzel;
using Stage = ComputerTurn::Stage;

namespace {

players::PlannerOptions smallSearch() { return {.threads = 2, .directions = 24, .strengths = 8, .refineSeeds = 2}; }

struct TwoSeats : test::ShotTable {
    explicit TwoSeats(PlayerKind first) : ShotTable(2) {
        g.playerName = {"", "Ann", "Bob"};
        g.seats[1].kind = first;
        centrePieceOn(piece(1), field.board.spots[3]);
        centrePieceOn(piece(2), field.board.spots[4]);
        ui.secondsPerYield = 1e-6;
    }
};

}  // namespace

TEST(ComputerTurn, PlaysThePlannedShotThroughTheBoard) {
    for (PlayerKind level : {PlayerKind::Novice, PlayerKind::Expert}) {
        TwoSeats t(level), direct(level);
        TurnController turn(t.ctx);
        ComputerTurn run(turn, t.ctx, 7, smallSearch());
        EXPECT_EQ(test::drive(run, turn, t.ui),
                  (std::vector<TurnPhase>{TurnPhase::Idle, TurnPhase::Aiming, TurnPhase::Charging,
                                          TurnPhase::Shooting, TurnPhase::Idle}));
        const players::PlannedShot plan = players::planShot(direct.g, direct.field, level, 7, smallSearch()).shot;
        EXPECT_EQ(run.shot().aimX, plan.aimX);
        EXPECT_EQ(run.shot().barTicks, plan.barTicks);
        const std::optional<Judgement> judged = players::playShot(direct.ctx, plan, -1);
        ASSERT_TRUE(judged);
        tellPlayers(direct.ui, *judged);
        for (int i = 1; i <= 2; ++i) {
            EXPECT_EQ(t.piece(i).left, direct.piece(i).left) << i;
            EXPECT_EQ(t.piece(i).top, direct.piece(i).top) << i;
        }
        EXPECT_EQ(t.ui.messages, direct.ui.messages);
        EXPECT_FALSE(t.g.shotInProgress || turn.charging() || turn.controls().goButton.box.visible);
    }
}

TEST(ComputerTurn, PlansAgainOrStopsWhenTheGameChanges) {
    // A piece moved while the computer thinks: the shot is planned anew.
    TwoSeats moved(PlayerKind::Expert), after(PlayerKind::Expert);
    centrePieceOn(after.piece(2), after.field.board.spots[9]);
    TurnController turn(moved.ctx);
    ComputerTurn run(turn, moved.ctx, 3, smallSearch());
    test::drive(run, turn, moved.ui, [&] { centrePieceOn(moved.piece(2), moved.field.board.spots[9]); });
    const players::PlannedShot plan = players::planShot(after.g, after.field, PlayerKind::Expert, 3, smallSearch()).shot;
    EXPECT_EQ(run.shot().aimX, plan.aimX);
    EXPECT_EQ(run.shot().aimY, plan.aimY);

    // Handed to a person while thinking, holding or with the aim line half
    // drawn, a person's seat, game over, dropped: no shot, and no aim left.
    for (int k = 0; k < 6; ++k) {
        TwoSeats t(k == 1 ? PlayerKind::Human : PlayerKind::Club);
        t.g.gameRunning = k != 2;
        TurnController idle(t.ctx);
        ComputerTurn none(idle, t.ctx, 1, smallSearch());
        test::drive(none, idle, t.ui, [&] {
            if (k == 0 || (k == 4 && none.stage() == Stage::Holding)) t.g.currentTurn = 2;
            if (k == 5 && t.field.board.pointer.visible) t.g.currentTurn = 2;
            if (k == 3) none.drop();
        });
        EXPECT_FALSE(t.field.board.pointer.visible) << k;
        EXPECT_EQ(t.g.shotsTaken, 0) << k;
    }
}

