// Fired here (a command typed while it runs), replayed, or shown as another computer played it, a shot at
// the board ends to the bit where the same shot applied whole ends.
#include <gtest/gtest.h>

#include <numbers>
#include <tuple>

#include "controls/RemoteShotTurn.h"
#include "model/Placement.h"
#include "model/PowerBarScale.h"
#include "players/PlannedShot.h"
#include "support/RunDriver.h"
#include "support/ShotTable.h"

using namespace capzel;
using capzel::test::ShotTable;
using Table = capzel::test::TurnTable<>;

namespace {

// Piece 1 below the others, which stand in a column above it.
Game column(int players, bool killer) {
    ShotTable t(players);
    t.g.seats[1].isKiller = killer;
    for (int i = 1; i <= players; ++i) {
        t.g.seats[i].name = std::string("P").append(std::to_string(i));
        t.place(i, 2400, float(8000 - 1500 * (i - 1)));
    }
    return t.g;
}

// Two pieces on boxes 3 and 4, player 1 to shoot.
Game twoSeats() {
    ShotTable t(2);
    centrePieceOn(t.piece(1), t.g.board.spots[3]);
    centrePieceOn(t.piece(2), t.g.board.spots[4]);
    return t.g;
}

struct Case {
    const char* name;
    Game start;
    ShotCommand shot;
    std::vector<std::string> during;  // Set Speed's answers, typed before the shot's advance 40
    double secondsPerYield = 1e-6;
};

std::vector<Case> cases() {
    std::vector<Case> all;
    const auto up = [](int strength) { return ShotCommand{1, 2550, 8150, 2550, 8450, std::int16_t(strength), {}, {}}; };
    all.push_back({"one piece", column(1, false), up(9405), {}});
    all.push_back({"pieces met", column(3, false), up(9405), {}});
    all.push_back({"pieces killed", column(3, true), up(6000), {}});
    all.push_back({"too weak to reach the others", column(2, false), up(1310), {}});
    for (std::vector<std::string> answers : {std::vector<std::string>{"1", "-900", "350"}, {"all", "0", "0"}, {"2", "400", "-2500"}})
        all.push_back({"a speed set mid-shot", column(3, false), up(9405), answers});
    const Game two = twoSeats();
    const auto along = [&](double angle, int ticks, int offLevel = 0) {
        ShotCommand s = players::plannedShotCommand(two, players::shotAlong(two, angle, ticks));
        s.strength = std::int16_t(s.strength + offLevel);  // a computer's miss lands between the bar's levels
        return s;
    };
    all.push_back({"a level the bar passes", two, along(-std::numbers::pi / 2, 30), {}});
    all.push_back({"the weakest", two, along(0.4, 0), {}});
    all.push_back({"the strongest, past the bar's end", two, along(std::numbers::pi, maxBarTicks()), {}});
    Game moveable = two;
    moveable.seats[1].moveableNextTurn = true;
    Case placed{"placed by hand first", moveable, along(-2.0, 55), {}};
    placed.shot.placement = HandPlacement{two.piece(1).left + 40, two.piece(1).top - 25};
    all.push_back(placed);
    // Where the bar stands when its time is up depends on the clock: a strength between levels, many clocks.
    for (int k = 0; k < 24; ++k) all.push_back({"between two levels", two, along(1.0, 40, 3), {}, 1e-6 * (1 + 0.37 * k)});
    return all;
}

auto places(const Game& g) {
    std::array<std::tuple<float, float, bool>, kMaxPlayers + 1> out{};
    for (int i = 1; i <= kMaxPlayers; ++i) out[i] = {g.piece(i).left, g.piece(i).top, g.piece(i).visible};
    return out;
}

}  // namespace

TEST(ShownShots, EveryWayTheBoardShowsAShotEndsWhereTheWholeShotEnds) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        // Fired at this board, with the command typed while it runs.
        Table here(c.start);
        here.ui.secondsPerYield = c.secondsPerYield;
        ASSERT_EQ(here.turn.fire(c.shot), std::nullopt);
        EXPECT_FALSE(here.turn.canReplay());  // not while it runs
        test::drive(here.turn, here.turn, here.ui, [&] {
            const PacedShot* paced = here.turn.shot();
            if (c.during.empty() || !paced || paced->shot().advances() != 40) return;
            EXPECT_TRUE(here.match.play(HiddenCommand{HiddenCommandKind::SetSpeed, c.during}).taken());
        });
        ASSERT_NE(here.match.lastShot(), nullptr);
        const RecordedShot played = *here.match.lastShot();
        EXPECT_EQ(played.midShot.size(), c.during.empty() ? 0u : 1u);
        Game whole = c.start;
        const Outcome applied = apply(whole, played);
        EXPECT_EQ(here.game().hash(), applied.hash);
        const std::vector<std::string> told = here.ui.messages;

        // Played again from its launch, step by step and straight through: the pieces rest where they rested.
        Game rested = c.start;
        ShotInPlay rest(rested, played);
        while (!rest.resting()) rest.advance();
        for (bool stepByStep : {true, false}) {
            StepPace pace;
            ShotReplay again(*here.match.gameAtLastLaunch(), played, here.turn.controls(), here.ui, pace);
            if (!stepByStep) again.finish();
            while (!again.done()) again.advance();
            EXPECT_EQ(places(again.game()), places(rested)) << stepByStep;
        }
        ASSERT_TRUE(here.turn.startReplay());
        test::drive(here.turn, here.ui);
        EXPECT_EQ(here.game().hash(), applied.hash);
        EXPECT_EQ(here.ui.messages, told);

        // Shown as another computer played it: aimed, charged, fired as played.
        Table there(c.start);
        there.ui.secondsPerYield = c.secondsPerYield;
        RemoteShotTurn shown(there.turn, there.ui, played);
        ASSERT_TRUE(shown.running());
        EXPECT_TRUE(there.turn.pending().aim.visible);
        EXPECT_EQ(test::drive(shown, there.turn, there.ui),
                  (std::vector<TurnPhase>{TurnPhase::Aiming, TurnPhase::Charging, TurnPhase::Shooting, TurnPhase::Idle}));
        ASSERT_NE(there.match.lastShot(), nullptr);
        EXPECT_TRUE(static_cast<const ShotCommand&>(*there.match.lastShot()) == played);
        EXPECT_EQ(there.game().hash(), applied.hash);
        EXPECT_EQ(there.ui.messages, told);
        EXPECT_FALSE(there.turn.controls().goButton.box.visible);  // went with the shot, as at a board where Go was pressed
    }
}

TEST(RemoteShotTurn, ShowsNothingForASeatNotOnTurnAndStopsWhenDropped) {
    const Game two = twoSeats();
    ShotCommand shot = players::plannedShotCommand(two, players::shotAlong(two, 0.3, 20));
    Table t(two);
    t.ui.secondsPerYield = 1e-6;
    shot.seat = 2;
    EXPECT_FALSE(RemoteShotTurn(t.turn, t.ui, shot).running());
    shot.seat = 1;
    Game over = two;
    over.gameRunning = false;
    Table ended(over);
    EXPECT_FALSE(RemoteShotTurn(ended.turn, ended.ui, shot).running());
    // Dropped with its aim half drawn: the aim goes, nothing is played.
    RemoteShotTurn run(t.turn, t.ui, shot);
    run.advance();
    EXPECT_EQ(run.stage(), RemoteShotTurn::Stage::Aiming);  // no time has passed: the aim is not yet whole
    run.drop();
    EXPECT_FALSE(run.running());
    EXPECT_FALSE(t.turn.pending().aim.visible);
    EXPECT_EQ(t.match.lastShot(), nullptr);

    // With no time to draw it, the aim is whole at once; dropped while the bar charges, the charge stops.
    RemoteShotTurn charging(t.turn, t.ui, shot, RemoteShotPace{0, 0, 6, 10});
    EXPECT_EQ(t.turn.pending().aim.x2, shot.x2);
    while (charging.running() && !t.turn.charging()) charging.advance();
    ASSERT_TRUE(t.turn.charging());
    charging.drop();
    EXPECT_FALSE(t.turn.running() || t.turn.charging());
    EXPECT_EQ(t.match.lastShot(), nullptr);

    // A shot no player here could play (a piece placed against the rules) is refused at "Go", told once.
    shot.placement = HandPlacement{two.piece(1).left, two.piece(1).top};
    RemoteShotTurn refused(t.turn, t.ui, shot, RemoteShotPace{0, 0, 6, 10});
    test::drive(refused, t.turn, t.ui);
    const std::optional<Refusal> why = refused.takeRefusal();
    ASSERT_TRUE(why);
    EXPECT_EQ(why->code, RefusalCode::PlacementNotAllowed);
    EXPECT_FALSE(refused.takeRefusal());
    EXPECT_EQ(t.match.lastShot(), nullptr);
    EXPECT_FALSE(t.turn.running());
}
