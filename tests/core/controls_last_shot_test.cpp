// The last shot kept by the turn: replayed bit for bit, and taken back once.
#include <gtest/gtest.h>

#include <tuple>

#include "controls/HiddenCommands.h"
#include "support/RunDriver.h"
#include "support/ShotTable.h"

using namespace capzel;
using capzel::test::ShotTable;

namespace {

struct ShotCase { int players; bool killer; int power; };
// One piece; pieces met; pieces killed; a shot too weak to reach the others.
const ShotCase kCases[] = {{1, false, 9405}, {3, false, 9405}, {3, true, 6000}, {2, false, 1310}};

// Piece 1 shoots up into the others, which stand in a column above it.
void setUp(ShotTable& t, const ShotCase& c) {
    t.g.isKiller[1] = c.killer;
    for (int i = 1; i <= c.players; ++i) {
        t.g.playerName[i] = std::string("P").append(std::to_string(i));
        t.place(i, 2400, float(8000 - 1500 * (i - 1)));
    }
    t.field.board.pointer = {2550, 8150, 2550, 8450};
    t.g.power = std::int16_t(c.power);
}

auto places(const Field& f) {
    std::array<std::tuple<float, float, bool>, kMaxPlayers + 1> out{};
    for (int i = 1; i <= kMaxPlayers; ++i) {
        const Box& p = f.board.pieces[i];
        out[i] = {p.left, p.top, p.visible};
    }
    return out;
}

auto game(const GameState& g) {
    return std::tie(g.currentTurn, g.gameRunning, g.score, g.position, g.isKiller, g.dead, g.inGame, g.losingTurn,
                    g.moveableNextTurn, g.onLetters, g.headingInReverse, g.shotsTaken);
}

}  // namespace

TEST(LastShot, ReplayEndsWhereTheShotEndedAndUndoRestoresTheGame) {
    for (const ShotCase& c : kCases) {
        ShotTable t(c.players), whole(c.players);
        setUp(t, c);
        setUp(whole, c);
        shootPiece(whole.ctx);
        const GameState before = t.g;
        const Field start = t.field;
        TurnController turn(t.ctx);
        turn.startShot();
        EXPECT_FALSE(turn.canUndo() || turn.canReplay());  // not while it runs
        test::drive(turn, t.ui);

        StepPace pace;
        ReplayRun again(*turn.lastShot(), t.ui, pace);
        again.finish();
        EXPECT_EQ(places(again.field()), places(whole.field)) << c.players;
        const Field judged = t.field;
        ASSERT_TRUE(turn.startReplay());
        test::drive(turn, t.ui);
        EXPECT_EQ(places(t.field), places(judged));  // the game's own field is untouched

        ASSERT_TRUE(turn.undo());
        EXPECT_FALSE(turn.undo());  // once per shot
        EXPECT_EQ(game(t.g), game(before)) << c.players;
        EXPECT_EQ(t.g.power, 0);  // no charge is left standing
        EXPECT_EQ(places(t.field), places(start));
        EXPECT_EQ(turn.phase(), TurnPhase::Idle);
        EXPECT_FALSE(turn.charging() || t.g.shotInProgress || turn.controls().powerBar.box.visible);
    }
}

// A hidden command that changed the game mid-shot is replayed at its step.
TEST(LastShot, ReplayTakesTheCommandsOfTheShotAtTheirStep) {
    const std::vector<std::string> commands[] = {{"1", "-900", "350"}, {"all", "0", "0"}, {"2", "400", "-2500"}};
    for (const std::vector<std::string>& answers : commands) {
        ShotTable t(3), whole(3);
        // At the 40th wait of the shot, the command; the turn notes it.
        const auto commandAt40 = [&](ShotTable& table, long& batch, TurnController* turn) {
            table.ui.onYield = [&table, &batch, &answers, turn] {
                if (++batch != 40) return;
                for (const std::string& a : answers) table.ui.inputAnswers.push_back(a);
                setSpeedCommand(table.ctx);
                if (turn) turn->gameChangedByCommand();
            };
        };
        long batches[2] = {};
        setUp(whole, kCases[1]);
        commandAt40(whole, batches[0], nullptr);
        test::playShot(whole.ctx, whole.ui);
        setUp(t, kCases[1]);
        TurnController turn(t.ctx);
        commandAt40(t, batches[1], &turn);
        turn.startShot();
        test::drive(turn, t.ui);
        ASSERT_GE(batches[1], 40) << answers[0];
        for (bool stepByStep : {true, false}) {
            StepPace pace;
            ReplayRun again(*turn.lastShot(), t.ui, pace);
            if (stepByStep) {
                while (!again.done()) again.advance();
            } else {
                again.finish();
            }
            EXPECT_EQ(places(again.field()), places(whole.field)) << answers[0];
        }
    }
}
