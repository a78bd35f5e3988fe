// What the scenario corpus cannot record.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "support/ShotTable.h"

using namespace capzel;
using capzel::test::ShotTable;

// The pace of a shot: the time 10,000 yields take picks the yields every
// step waits, once for the whole shot; a clock that gives no number, the
// shortest.
TEST(ShotEdges, CalibrationMapsTenThousandYieldsToADelay) {
    const double rows[][2] = {{0.0, 6000}, {0.04, 6000}, {0.05, 400}, {0.1, 400},
                              {0.194, 400}, {0.2, 100},  {0.5, 100}, {std::nan(""), 100}};
    for (const auto& r : rows) {
        ShotTable t(1);
        t.ui.clockNow = 43200;
        t.ui.secondsPerYield = r[0] / 10000;
        t.field.board.pointer = {5000, 4000, 5000, 5000};
        t.g.power = 2500;
        TurnController turn(t.ctx);
        turn.startShot();
        test::drive(turn, t.ui);
        EXPECT_EQ(turn.pace().delay(), r[1]) << r[0];
    }
}

// Speeds left over before a launch are cleared for every piece.
TEST(ShotEdges, TheLaunchClearsEveryLeftoverSpeed) {
    for (int players : {2, 8}) {
        ShotTable t(players);
        for (int i = 1; i <= players; ++i) {
            t.place(i, 1500 + 900 * float(i - 1), 4500);
            t.field.velocityX[i] = 40;
            t.field.velocityY[i] = -40;
        }
        const Board before = t.field.board;
        t.shoot(5000, 5000, 5000, 5000, 0);
        for (int i = 1; i <= players; ++i) {
            EXPECT_EQ(t.piece(i).left, before.pieces[i].left) << players << " players, piece " << i;
            EXPECT_EQ(t.piece(i).top, before.pieces[i].top) << players << " players, piece " << i;
        }
    }
}

// Only dead pieces are stacked in the holder after a shot: a piece still
// waiting there stays where it waits, whatever the shooter's place (before
// the course here, as an edited game may have it).
TEST(ShotEdges, WaitingPiecesStayWhereTheyWait) {
    ShotTable t(3);
    t.g.seats[1].position = 0;
    t.g.seats[3].inGame = false;
    t.g.seats[3].position = 0;
    const Box waiting = t.piece(3);
    ShotEvents events;
    ShotOptions options;
    options.events = &events;
    test::playShot(t.ctx, t.ui, options);
    EXPECT_EQ(std::tie(t.piece(3).left, t.piece(3).top), std::tie(waiting.left, waiting.top));
    EXPECT_FALSE(t.g.seats[3].inGame) << "a shot from before the course brings no waiting piece in";
    EXPECT_TRUE(events.empty());
}

// A cycle limit stops a shot after exactly that many cycles, unsettled; a
// limit the shot needs no more than lets it rest and be settled as without one.
TEST(ShotEdges, ACycleLimitStopsTheShotAfterExactlyThatMany) {
    auto shootWith = [](long maxCycles) {
        ShotTable t(2);
        t.field.board.pointer = {5000, 5000, 5400, 5200};
        t.g.power = 2000;
        ShotOptions options;
        options.maxCycles = maxCycles;
        return std::pair(playShot(t.ctx, t.ui, options), t.piece(1).left);
    };
    const auto [free, restedAt] = shootWith(-1);
    ASSERT_FALSE(free.unfinished);
    ASSERT_GT(free.cycles, 2);
    for (long limit : {free.cycles, free.cycles + 1}) {
        const auto [r, left] = shootWith(limit);
        EXPECT_FALSE(r.unfinished) << limit;
        EXPECT_EQ(r.cycles, free.cycles) << limit;
        EXPECT_EQ(left, restedAt) << limit;
    }
    for (long limit : {free.cycles - 1, 1L, 0L}) {
        const auto [r, left] = shootWith(limit);
        EXPECT_TRUE(r.unfinished) << limit;
        EXPECT_EQ(r.cycles, limit);
    }
}
