// The last shot kept by the turn: replayed on a copy it ends bit for bit
// where the shot ended, taken back it restores the game (and only until the
// next shot starts), and Esc calls off an aim or a charge.
#include <gtest/gtest.h>

#include "support/RunDriver.h"
#include "support/ShotTable.h"

using namespace capzel;
using capzel::test::ShotTable;

namespace {

struct ShotCase {
    int players;
    bool killer;
    int power;
};

// Piece 1 shoots up into the others, which stand in a column above it.
void setUp(ShotTable& t, const ShotCase& c) {
    t.g.isKiller[1] = c.killer;
    for (int i = 1; i <= c.players; ++i) {
        t.g.playerName[i] = "P" + std::to_string(i);
        t.place(i, 2400, float(8000 - 1500 * (i - 1)));
    }
    t.field.board.pointer = {2550, 8150, 2550, 8450};
    t.g.power = std::int16_t(c.power);
}

const ShotCase kCases[] = {{1, false, 9405}, {3, false, 9405}, {3, true, 6000}, {2, false, 1310}};

}  // namespace

TEST(LastShot, AReplayEndsWhereTheShotEndedAndChangesNothing) {
    for (const ShotCase& c : kCases) {
        ShotTable played(c.players), whole(c.players);
        setUp(played, c);
        setUp(whole, c);
        test::fireShot(whole.ctx);
        TurnController turn(played.ctx);
        turn.startShot();
        test::drive(turn, played.ui);
        ASSERT_NE(turn.lastShot(), nullptr);

        ReplayRun again(*turn.lastShot(), played.ui);
        again.finish();
        const Field after = played.field;
        ASSERT_TRUE(turn.startReplay());
        EXPECT_EQ(turn.phase(), TurnPhase::Replaying);
        test::drive(turn, played.ui);
        for (int i = 1; i <= c.players; ++i) {
            const Box& want = whole.piece(i);
            for (const Box* got : {&again.field().board.pieces[i], &turn.lastShot()->endPieces[i]}) {
                EXPECT_EQ(got->left, want.left) << c.players << " piece " << i;
                EXPECT_EQ(got->top, want.top) << c.players << " piece " << i;
                EXPECT_EQ(got->visible, want.visible) << c.players << " piece " << i;
            }
            // The game's own field is as the judging left it.
            EXPECT_EQ(played.piece(i).left, after.board.pieces[i].left);
            EXPECT_EQ(played.piece(i).top, after.board.pieces[i].top);
        }
        EXPECT_EQ(again.state().score, whole.g.score);
    }
}

TEST(LastShot, UndoRestoresTheGameUntilTheNextShotStarts) {
    for (const ShotCase& c : kCases) {
        ShotTable t(c.players);
        setUp(t, c);
        const GameState before = t.g;
        const Field start = t.field;
        TurnController turn(t.ctx);
        EXPECT_FALSE(turn.canUndo());
        turn.startShot();
        EXPECT_FALSE(turn.canUndo());  // not while it runs
        test::drive(turn, t.ui);
        t.g.songNumber = 5;  // the music went on meanwhile
        ASSERT_TRUE(turn.canUndo());
        ASSERT_TRUE(turn.undo());
        EXPECT_FALSE(turn.undo());  // once per shot

        EXPECT_EQ(t.g.songNumber, 5);
        EXPECT_EQ(t.g.currentTurn, before.currentTurn);
        EXPECT_EQ(t.g.score, before.score);
        EXPECT_EQ(t.g.position, before.position);
        EXPECT_EQ(t.g.isKiller, before.isKiller);
        EXPECT_EQ(t.g.dead, before.dead);
        EXPECT_EQ(t.g.inGame, before.inGame);
        EXPECT_EQ(t.g.losingTurn, before.losingTurn);
        EXPECT_EQ(t.g.moveableNextTurn, before.moveableNextTurn);
        EXPECT_EQ(t.g.onLetters, before.onLetters);
        EXPECT_EQ(t.g.headingInReverse, before.headingInReverse);
        EXPECT_EQ(t.g.shotsTaken, before.shotsTaken);
        EXPECT_TRUE(t.g.gameRunning && !t.g.shotInProgress && t.g.power == 0);
        for (int i = 1; i <= c.players; ++i) {
            EXPECT_EQ(t.piece(i).left, start.board.pieces[i].left);
            EXPECT_EQ(t.piece(i).top, start.board.pieces[i].top);
            EXPECT_EQ(t.piece(i).visible, start.board.pieces[i].visible);
            EXPECT_EQ(t.field.velocityX[i], 0.0f);
        }
        EXPECT_EQ(turn.phase(), TurnPhase::Idle);

        // The next shot replaces what can be taken back.
        setUp(t, c);
        t.g.power = 2222;
        turn.startShot();
        EXPECT_FALSE(turn.canUndo() || turn.canReplay());
        test::drive(turn, t.ui);
        EXPECT_EQ(turn.lastShot()->startState.power, 2222);
    }
}

TEST(LastShot, EscCallsOffAnAimOrAChargeWithoutAShot) {
    for (bool charging : {false, true}) {
        ShotTable t(1);
        t.place(1, 3500, 6000);
        t.ui.secondsPerYield = 1e-6;
        TurnController turn(t.ctx);
        turn.mouseMove(1, 0, 3650, 6400);
        if (charging) turn.mouseUp();
        for (int k = 0; k < 50 && charging; ++k) turn.advance();
        ASSERT_TRUE(turn.cancel());
        EXPECT_EQ(turn.phase(), TurnPhase::Idle);
        EXPECT_FALSE(t.g.charging || t.g.shotInProgress);
        EXPECT_FALSE(t.field.board.pointer.visible || t.field.board.powerBar.box.visible ||
                     t.field.board.goButton.box.visible);
        // "Go" afterwards plays nothing; the same player aims again.
        turn.goClicked();
        test::drive(turn, t.ui);
        EXPECT_EQ(t.piece(1).left, 3500.0f);
        EXPECT_EQ(t.g.currentTurn, 1);
        EXPECT_FALSE(turn.cancel());
    }
}
