// A computer's turn played through the board's own controls: it thinks,
// aims, charges and presses "Go" in that order, and its shot leaves the
// pieces exactly where the planned shot leaves them when played directly.
// A plan for a game that changed meanwhile is made again; a turn that has
// gone to a person is not played.
#include <gtest/gtest.h>

#include <vector>

#include "controls/ComputerTurn.h"
#include "model/Placement.h"
#include "support/ShotTable.h"

using namespace capzel;
using Stage = ComputerTurn::Stage;
using capzel::test::ShotTable;

namespace {

players::PlannerOptions smallSearch() {
    players::PlannerOptions o;
    o.threads = 2;
    o.directions = 24;
    o.strengths = 8;
    o.refineSeeds = 2;
    return o;
}

struct TwoSeats : ShotTable {
    explicit TwoSeats(PlayerKind first) : ShotTable(2) {
        g.playerName = {"", "Ann", "Bob"};
        g.playerKind[1] = first;
        g.playerKind[2] = PlayerKind::Human;
        centrePieceOn(piece(1), field.board.spots[3]);
        centrePieceOn(piece(2), field.board.spots[4]);
        ui.secondsPerYield = 1e-6;
    }
};

// Drives the run as the window's clock would, noting each stage and each
// phase of the turn controller as they change; `between` runs after each
// advance.
struct Drive {
    std::vector<Stage> stages;
    std::vector<TurnPhase> phases;
};
template <class Between>
Drive drive(ComputerTurn& run, TurnController& turn, TwoSeats& t, Between between) {
    Drive d;
    while (run.running()) {
        if (d.stages.empty() || d.stages.back() != run.stage()) d.stages.push_back(run.stage());
        if (d.phases.empty() || d.phases.back() != turn.phase()) d.phases.push_back(turn.phase());
        t.ui.yield(run.wait());
        run.advance();
        between();
    }
    if (d.phases.empty() || d.phases.back() != turn.phase()) d.phases.push_back(turn.phase());
    return d;
}

}  // namespace

TEST(ComputerTurn, PlaysThePlannedShotThroughTheBoard) {
    for (PlayerKind level : {PlayerKind::Novice, PlayerKind::Expert}) {
        TwoSeats t(level), direct(level);
        TurnController turn(t.ctx);
        ComputerTurn run(turn, t.ctx, 7, smallSearch());
        const Drive d = drive(run, turn, t, [] {});
        EXPECT_EQ(d.stages, (std::vector<Stage>{Stage::Thinking, Stage::Aiming, Stage::Holding, Stage::Charging,
                                                Stage::Shooting}));
        EXPECT_EQ(d.phases, (std::vector<TurnPhase>{TurnPhase::Idle, TurnPhase::Aiming, TurnPhase::Charging,
                                                    TurnPhase::Shooting, TurnPhase::Idle}));
        // The same seed plans the same shot; played directly it ends the same.
        const players::PlanResult plan = players::planShot(direct.g, direct.field, level, 7, smallSearch());
        EXPECT_EQ(run.shot().aimX, plan.shot.aimX);
        EXPECT_EQ(run.shot().barTicks, plan.shot.barTicks);
        ASSERT_TRUE(players::playShot(direct.ctx, plan.shot, -1));
        for (int i = 1; i <= 2; ++i) {
            EXPECT_EQ(t.piece(i).left, direct.piece(i).left) << i;
            EXPECT_EQ(t.piece(i).top, direct.piece(i).top) << i;
        }
        EXPECT_EQ(t.g.currentTurn, direct.g.currentTurn);
        EXPECT_EQ(t.ui.messages, direct.ui.messages);
        EXPECT_FALSE(t.g.shotInProgress || t.g.charging || t.field.board.goButton.box.visible);
    }
}

TEST(ComputerTurn, PlansAgainOrStopsWhenTheGameChanges) {
    // A piece moved while the computer thinks: the shot is planned for the
    // piece where it now stands.
    TwoSeats moved(PlayerKind::Expert), after(PlayerKind::Expert);
    centrePieceOn(after.piece(2), after.field.board.spots[9]);
    TurnController turn(moved.ctx);
    ComputerTurn run(turn, moved.ctx, 3, smallSearch());
    bool once = true;
    drive(run, turn, moved, [&] {
        if (once) centrePieceOn(moved.piece(2), moved.field.board.spots[9]);
        once = false;
    });
    const players::PlannedShot replanned = players::planShot(after.g, after.field, PlayerKind::Expert, 3, smallSearch()).shot;
    EXPECT_EQ(run.shot().aimX, replanned.aimX);
    EXPECT_EQ(run.shot().aimY, replanned.aimY);

    // The turn handed to a person (a hidden command) while the computer
    // thinks and while it aims, a person's seat, a game that is over, and a
    // dropped turn: no shot, and no aim left on the field.
    for (int k = 0; k < 5; ++k) {
        TwoSeats t(k == 1 ? PlayerKind::Human : PlayerKind::Club);
        if (k == 2) t.g.gameRunning = false;
        const Box before = t.piece(1);
        TurnController idle(t.ctx);
        ComputerTurn none(idle, t.ctx, 1, smallSearch());
        drive(none, idle, t, [&] {
            if (k == 0 || (k == 4 && none.stage() == Stage::Holding)) t.g.currentTurn = 2;
            if (k == 3) none.drop();
        });
        EXPECT_EQ(t.piece(1).left, before.left) << k;
        EXPECT_EQ(t.piece(1).top, before.top) << k;
        EXPECT_FALSE(t.field.board.pointer.visible) << k;
        EXPECT_EQ(t.g.shotsTaken, 0) << k;
    }
}
