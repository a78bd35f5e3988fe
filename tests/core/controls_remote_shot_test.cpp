// A shot played at another computer, shown at this board: the aim drawn,
// the bar charged, the shot run paced; wherever the bar stands when it
// goes, the game ends to the bit where the server's unpaced play ends it.
#include <gtest/gtest.h>

#include <numbers>

#include "controls/RemoteShotTurn.h"
#include "model/Placement.h"
#include "players/PlannedShot.h"
#include "records/GameRecord.h"
#include "match/RecordReplay.h"
#include "support/RunDriver.h"
#include "support/ShotTable.h"

using namespace capzel;

namespace {

struct TwoSeats : test::ShotTable {
    TwoSeats() : ShotTable(2) {
        centrePieceOn(piece(1), field.board.spots[3]);
        centrePieceOn(piece(2), field.board.spots[4]);
        ui.secondsPerYield = 1e-6;
    }
};

}  // namespace

TEST(RemoteShotTurn, EndsEveryShotWhereTheServersPlayEndsIt) {
    struct Case {
        const char* name;
        double angle;
        int ticks;
        bool placed;
        int offLevel;  // added to the strength: a computer's miss lands between the bar's levels
        double secondsPerYield;
    };
    const Case cases[] = {
        {"a level the bar passes", -std::numbers::pi / 2, 30, false, 0, 1e-6},
        {"the weakest", 0.4, 0, false, 0, 1e-6},
        {"the strongest, past the bar's end", std::numbers::pi, players::maxBarTicks(), false, 0, 1e-6},
        {"placed by hand first", -2.0, 55, true, 0, 1e-6},
    };
    std::vector<Case> all(std::begin(cases), std::end(cases));
    // Where the bar stands when its time is up depends on the clock: a
    // strength between its levels, on clocks of many paces.
    for (int k = 0; k < 24; ++k) all.push_back({"between two levels", 1.0, 40, false, 3, 1e-6 * (1 + 0.37 * k)});
    for (const Case& c : all) {
        TwoSeats shown, served;
        shown.ui.secondsPerYield = c.secondsPerYield;
        RecordedShot shot = plannedShotInputs(served.g, served.field,
                                              players::shotAlong(served.g, served.field.board, c.angle, c.ticks));
        shot.power = std::int16_t(shot.power + c.offLevel);
        if (c.placed) {
            shown.g.seats[1].moveableNextTurn = served.g.seats[1].moveableNextTurn = true;
            shot.placement = HandPlacement{served.piece(1).left + 40, served.piece(1).top - 25};
        }
        TurnController servedTurn(served.ctx);
        ASSERT_EQ(playShotThrough(servedTurn, served.g, served.field, shot, {}), "") << c.name;

        TurnController turn(shown.ctx);
        RemoteShotTurn run(turn, shown.ctx, shot);
        ASSERT_TRUE(run.running()) << c.name;
        EXPECT_TRUE(shown.field.board.pointer.visible) << c.name;
        const std::vector<TurnPhase> phases = test::drive(run, turn, shown.ui);
        EXPECT_EQ(phases, (std::vector<TurnPhase>{TurnPhase::Aiming, TurnPhase::Charging, TurnPhase::Shooting,
                                                  TurnPhase::Idle}))
            << c.name;
        ASSERT_NE(turn.lastShot(), nullptr);
        EXPECT_EQ(turn.lastShot()->startState.power, shot.power) << c.name;
        EXPECT_EQ(gameHash(shown.g, shown.field), gameHash(served.g, served.field)) << c.name;
        EXPECT_EQ(shown.ui.messages.size(), std::size_t(1)) << c.name;
    }
}

TEST(RemoteShotTurn, ShowsNothingForASeatNotOnTurnOrWhileARunIsUnderWay) {
    TwoSeats t;
    RecordedShot shot = plannedShotInputs(t.g, t.field, players::shotAlong(t.g, t.field.board, 0.3, 20));
    TurnController turn(t.ctx);
    shot.seat = 2;
    EXPECT_FALSE(RemoteShotTurn(turn, t.ctx, shot).running());
    shot.seat = 1;
    t.g.gameRunning = false;
    EXPECT_FALSE(RemoteShotTurn(turn, t.ctx, shot).running());
    t.g.gameRunning = true;
    // Dropped with its aim half drawn: the aim goes, nothing is played.
    RemoteShotTurn run(turn, t.ctx, shot);
    run.advance();
    EXPECT_EQ(run.stage(), RemoteShotTurn::Stage::Aiming);  // no time has passed: the aim is not yet whole
    run.drop();
    EXPECT_FALSE(run.running());
    EXPECT_FALSE(t.field.board.pointer.visible);
    EXPECT_EQ(turn.lastShot(), nullptr);

    // With no time to draw it, the aim is whole at once; dropped while the
    // bar charges, the charge stops with it.
    RemoteShotTurn charging(turn, t.ctx, shot, RemoteShotPace{0, 0, 6, 10});
    EXPECT_EQ(t.field.board.pointer.x2, shot.x2);
    while (charging.running() && !turn.charging()) charging.advance();
    ASSERT_TRUE(turn.charging());
    charging.drop();
    EXPECT_FALSE(turn.running() || turn.charging());
    EXPECT_EQ(turn.lastShot(), nullptr);
}
