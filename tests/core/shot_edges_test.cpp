// What the scenario corpus cannot record.
#include <gtest/gtest.h>

#include <tuple>

#include "engine/Shot.h"
#include "support/ShotTable.h"

using namespace capzel;
using capzel::test::ShotTable;

// Speeds left over before a launch are cleared for every piece.
TEST(ShotEdges, TheLaunchClearsEveryLeftoverSpeed) {
    for (int players : {2, 8}) {
        ShotTable t(players);
        for (int i = 1; i <= players; ++i) {
            t.place(i, 1500 + 900 * float(i - 1), 4500);
            t.g.velocityX[i] = 40;
            t.g.velocityY[i] = -40;
        }
        const Board before = t.g.board;
        t.play(t.shot(5000, 5000, 5000, 5000, 0));
        for (int i = 1; i <= players; ++i) {
            EXPECT_EQ(std::tie(t.piece(i).left, t.piece(i).top), std::tie(before.pieces[i].left, before.pieces[i].top))
                << players << " players, piece " << i;
        }
    }
}

// Only dead pieces are stacked in the holder after a shot: a waiting piece stays, whatever the shooter's place
// (before the course here, as an edited game may have it).
TEST(ShotEdges, WaitingPiecesStayWhereTheyWait) {
    ShotTable t(3);
    t.g.seats[1].position = 0;
    t.g.seats[3].inGame = false;
    t.g.seats[3].position = 0;
    const Box waiting = t.piece(3);
    ShotEvents events;
    t.play(t.shot(0, 0, 0, 0, 0), &events);
    EXPECT_EQ(std::tie(t.piece(3).left, t.piece(3).top), std::tie(waiting.left, waiting.top));
    EXPECT_FALSE(t.g.seats[3].inGame) << "a shot from before the course brings no waiting piece in";
    EXPECT_TRUE(events.empty());
}

// A cycle limit stops a shot after exactly that many cycles, unsettled; a limit it does not reach changes nothing.
TEST(ShotEdges, ACycleLimitStopsTheShotAfterExactlyThatMany) {
    auto shootWith = [](long maxCycles) {
        ShotTable t(2);
        t.g.board.pointer = {5000, 5000, 5400, 5200};
        ShotOptions options;
        options.maxCycles = maxCycles;
        const ShotResult r = shootPiece(t.ctx, 2000, options);
        return std::pair(r, t.piece(1).left);
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
