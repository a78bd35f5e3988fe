// The game session without a window: one way to begin a game, what it keeps
// and when, commands between steps, and boards that come and go.
#include <gtest/gtest.h>

#include "records/SavedGameState.h"
#include "session/GameSession.h"
#include "support/RunDriver.h"

namespace capzel {
namespace {

struct CountingKeeper : GameKeeper {
    int kept = 0;
    int turnWhenKept = -1;
    void keep(const Game& g, const Field&) override {
        ++kept;
        turnWhenKept = g.currentTurn;
    }
};

NewGameSettings players(int n, PlayerKind second = PlayerKind::Human) {
    NewGameSettings s;
    s.players = n;
    s.seats[2] = second;
    return s;
}

// A shot of the current player, aimed down the field, played to its end.
void playOneShot(GameSession& session, test::FakePlatform& ui) {
    session.turn().mouseMove(1, 0, 3650, 9000);
    session.state().power = 3000;
    session.turn().startShot();
    test::drive(session.turn(), ui);
}

TEST(GameSession, BeginningAGameKeepsItBeforeItsFirstTurnStarts) {
    CountingKeeper keeper;
    GameSession session(&keeper);
    test::FakePlatform ui;
    session.openBoard(ui);
    const Judgement started = session.beginNewGame(players(3));
    EXPECT_EQ(keeper.kept, 1);
    EXPECT_EQ(keeper.turnWhenKept, 1);
    ASSERT_EQ(started.announcements.size(), 1u);
    EXPECT_EQ(started.announcements[0].kind, AnnouncementKind::TurnStart);
    EXPECT_TRUE(ui.messages.empty());  // told by whoever shows the game
    EXPECT_EQ(session.turn().controls().order.pieces[1], 1);  // brought to the front
    EXPECT_EQ(session.state().seats[1].position, 1);

    // Each judged shot is kept once, however often the clock looks.
    playOneShot(session, ui);
    session.advanced();
    session.advanced();
    EXPECT_EQ(keeper.kept, 2);
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(keeper.kept, 3);
    EXPECT_EQ(session.state().currentTurn, 1);
}

TEST(GameSession, ASavedGameReplacesTheRunningOneAndItsRun) {
    CountingKeeper keeper;
    GameSession session(&keeper);
    test::FakePlatform ui;
    session.openBoard(ui);
    session.beginNewGame(players(2));
    const SavedGame saved = gatherSavedGame(session.state(), session.field().board);
    playOneShot(session, ui);
    session.turn().mouseMove(1, 0, 3650, 9000);
    session.turn().mouseUp();
    ASSERT_TRUE(session.turn().charging());
    const Judgement started = session.beginSavedGame(saved);
    EXPECT_FALSE(session.turn().running() || session.turn().charging());
    EXPECT_EQ(session.state().currentTurn, 1);
    EXPECT_FALSE(started.announcements.empty());
    EXPECT_EQ(keeper.kept, 2);
}

TEST(GameSession, ACommandMidShotIsKeptForTheReplayAndBringsItsTurnForward) {
    GameSession session;
    test::FakePlatform ui;
    session.openBoard(ui);
    session.beginNewGame(players(2));
    session.turn().mouseMove(1, 0, 3650, 9000);
    session.state().power = 3000;
    session.turn().startShot();
    for (int k = 0; k < 50 && session.turn().running(); ++k) session.turn().advance();
    ui.inputAnswers = {"2", "13"};
    const Judgement said = session.runCommand(setPositionCommand);
    EXPECT_EQ(said.broughtForward, std::vector<int>{2});
    EXPECT_GT(session.turn().controls().order.pieces[2], session.turn().controls().order.pieces[1]);
    ASSERT_EQ(session.turn().lastShot()->changes.size(), 1u);
    test::drive(session.turn(), ui);
    const Field played = session.field();
    StepPace pace;
    ReplayRun again(*session.turn().lastShot(), ui, pace);
    again.finish();
    for (int i = 1; i <= 2; ++i) EXPECT_EQ(again.field().board.pieces[i].top, played.board.pieces[i].top) << i;
}

TEST(GameSession, OnlyTheBoardsOwnWindowClosesIt) {
    GameSession session;
    test::FakePlatform first, second;
    std::shared_ptr<TurnController> old = session.openBoard(first);
    session.beginNewGame(players(2, PlayerKind::Novice));
    session.openBoard(second);
    EXPECT_NE(&session.turn(), old.get());
    session.closeBoard(first);  // the old window goes late: the new board stays
    ASSERT_TRUE(session.hasBoard());
    EXPECT_EQ(session.startComputerTurn(1), nullptr);  // the seat at the board is a person's
    session.state().currentTurn = 2;
    ComputerTurn* computer = session.startComputerTurn(1);
    ASSERT_NE(computer, nullptr);
    EXPECT_TRUE(computer->running());
    session.closeBoard(second);
    EXPECT_FALSE(session.hasBoard());
    EXPECT_FALSE(computer->running());
}

}  // namespace
}  // namespace capzel
