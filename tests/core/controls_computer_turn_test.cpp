// A computer's turn through the board's own controls: phases, and the game where the plan leaves it.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "controls/ComputerTurn.h"
#include "model/Placement.h"
#include "rules/HiddenCommands.h"
#include "support/RunDriver.h"
#include "support/ShotTable.h"

using namespace capzel;
using Stage = ComputerTurn::Stage;
using Table = capzel::test::TurnTable<>;

namespace {

players::PlannerOptions smallSearch() { return {.threads = 2, .directions = 24, .strengths = 8, .refineSeeds = 2}; }

// Ann (of `first`) and Bob on boxes 3 and 4, Ann to shoot.
Game twoSeats(PlayerKind first) {
    test::ShotTable t(2);
    t.g.seats[1].name = "Ann";
    t.g.seats[2].name = "Bob";
    t.g.seats[1].kind = first;
    centrePieceOn(t.piece(1), t.g.board.spots[3]);
    centrePieceOn(t.piece(2), t.g.board.spots[4]);
    return t.g;
}

}  // namespace

TEST(ComputerTurn, PlaysThePlannedShotThroughTheBoard) {
    for (PlayerKind level : {PlayerKind::Novice, PlayerKind::Expert}) {
        const Game start = twoSeats(level);
        Table t(start);
        t.ui.secondsPerYield = 1e-6;
        ComputerTurn run(t.turn, t.ui, 7, smallSearch());
        // The aim line's end as the computer draws it out, look by look.
        std::vector<std::pair<double, double>> drawn;
        const auto look = [&] {
            const Line& aim = t.turn.pending().aim;
            if (run.stage() == Stage::Aiming && aim.visible) drawn.emplace_back(aim.x2, aim.y2);
        };
        EXPECT_EQ(test::drive(run, t.turn, t.ui, look),
                  (std::vector<TurnPhase>{TurnPhase::Idle, TurnPhase::Aiming, TurnPhase::Charging,
                                          TurnPhase::Shooting, TurnPhase::Idle}));
        // From the piece's centre out to the aim point, along the line between them and never back.
        const Box& piece = start.piece(1);
        const double x0 = piece.left + piece.width / 2.0, y0 = piece.top + piece.height / 2.0;
        const double dx = run.shot().aimX - x0, dy = run.shot().aimY - y0, length = std::hypot(dx, dy);
        ASSERT_GE(drawn.size(), 10u);
        double along = 0;
        for (const auto& [x, y] : drawn) {
            const double t = ((x - x0) * dx + (y - y0) * dy) / (length * length);
            EXPECT_TRUE(t >= along - 1e-6 && t <= 1 + 1e-6) << t;
            EXPECT_NEAR(((x - x0) * dy - (y - y0) * dx) / length, 0, 1.0);
            along = t;
        }
        EXPECT_LT(std::hypot(drawn.front().first - x0, drawn.front().second - y0), length / 4);
        // The shot the planner chose, as the board fires it from the bar.
        const players::PlannedShot plan = players::planShot(start, level, 7, smallSearch()).shot;
        Game direct = start;
        const Outcome judged = apply(direct, players::plannedShotCommand(start, plan));
        EXPECT_EQ(t.game().hash(), judged.hash);
        std::vector<std::string> said;
        for (const Announcement& a : judged.announcements) said.push_back(a.text);
        EXPECT_EQ(t.ui.messages, said);
        EXPECT_FALSE(t.game().shotInProgress || t.turn.charging() || t.turn.controls().goButton.box.visible);
    }
}

TEST(ComputerTurn, PlansAgainOrStopsWhenTheGameChanges) {
    // A piece moved while the computer thinks: the shot is planned anew.
    const HiddenCommand moveBob{HiddenCommandKind::SetPiece, {"2", "9", "0", "1"}};
    Table moved(twoSeats(PlayerKind::Expert));
    moved.ui.secondsPerYield = 1e-6;
    ComputerTurn run(moved.turn, moved.ui, 3, smallSearch());
    bool once = false;
    test::drive(run, moved.turn, moved.ui,
                [&] { EXPECT_TRUE(std::exchange(once, true) || moved.match.play(moveBob).taken()); });
    Game after = twoSeats(PlayerKind::Expert);
    runHiddenCommand(after, moveBob);
    const players::PlannedShot plan = players::planShot(after, PlayerKind::Expert, 3, smallSearch()).shot;
    EXPECT_EQ(std::tie(run.shot().aimX, run.shot().aimY), std::tie(plan.aimX, plan.aimY));

    // Handed to a person while thinking, holding or aiming, a person's seat, game over, dropped: no shot, no aim.
    for (int k = 0; k < 6; ++k) {
        Game start = twoSeats(k == 1 ? PlayerKind::Human : PlayerKind::Club);
        start.gameRunning = k != 2;
        Game bobsTurn = start;
        bobsTurn.currentTurn = 2;
        Table t(start);
        t.ui.secondsPerYield = 1e-6;
        ComputerTurn none(t.turn, t.ui, 1, smallSearch());
        bool handed = false;
        test::drive(none, t.turn, t.ui, [&] {
            const bool now = k == 0 || (k == 4 && none.stage() == Stage::Holding) || (k == 5 && t.turn.pending().aim.visible);
            if (now && !std::exchange(handed, true)) t.match = Match(bobsTurn);  // as a load replaces it
            if (k == 3) none.drop();
        });
        EXPECT_FALSE(t.turn.pending().aim.visible) << k;
        EXPECT_EQ(t.match.record().shotCount(), 0) << k;
        EXPECT_FALSE(t.turn.running()) << k;
    }
}
