// The game session without a window: beginning a game, what it keeps and when, commands between steps,
// taking a shot back, and boards that come and go.
#include <gtest/gtest.h>

#include <tuple>

#include "match/RecordReplay.h"
#include "records/SavedGameState.h"
#include "session/GameSession.h"
#include "support/RunDriver.h"

namespace capzel {
namespace {

struct CountingKeeper : GameKeeper {
    int kept = 0, turnWhenKept = -1;
    void keep(const Game& g) override { ++kept, turnWhenKept = g.currentTurn; }
};

NewGameSettings players(int n, PlayerKind second = PlayerKind::Human) {
    NewGameSettings s;
    s.players = n, s.seats[2] = second;
    return s;
}

// A shot of the current player, aimed down the field, fired as "Go" fires it.
void fireOneShot(GameSession& session) {
    session.turn().mouseMove(1, 0, 3650, 9000);
    ASSERT_EQ(session.turn().fire(session.turn().pendingShot(3000)), std::nullopt);
}

TEST(GameSession, BeginningAGameKeepsItAndAnUndoTakesTheShotBack) {
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
    EXPECT_EQ(session.game().seats[1].position, 1);
    EXPECT_EQ(session.record().seatCount(), 3);

    // Each judged shot is kept once, however often the clock looks.
    const Game before = session.game();
    EXPECT_FALSE(session.canUndo());
    fireOneShot(session);
    EXPECT_FALSE(session.canUndo());  // not while it runs
    test::drive(session.turn(), ui);
    session.advanced();
    session.advanced();
    EXPECT_EQ(keeper.kept, 2);
    ASSERT_TRUE(session.undo());
    EXPECT_FALSE(session.canUndo());  // back at the game's first shot
    EXPECT_EQ(keeper.kept, 3);
    // The game as it stood at the launch, no shot and no charge left; only the aim line's ends stay.
    Game expected = before;
    expected.board.pointer = session.game().board.pointer;
    EXPECT_TRUE(session.game() == expected);
    EXPECT_FALSE(session.game().board.pointer.visible || session.turn().charging());
    EXPECT_EQ(session.turn().phase(), TurnPhase::Idle);
}

TEST(GameSession, ASavedGameReplacesTheRunningOneAndItsRun) {
    CountingKeeper keeper;
    GameSession session(&keeper);
    test::FakePlatform ui;
    session.openBoard(ui);
    session.beginNewGame(players(2));
    const SavedGame saved = gatherSavedGame(session.game());
    fireOneShot(session);
    test::drive(session.turn(), ui);
    session.turn().mouseMove(1, 0, 3650, 9000);
    session.turn().mouseUp();
    ASSERT_TRUE(session.turn().charging());
    const Judgement started = session.beginSavedGame(saved);
    EXPECT_FALSE(session.turn().running() || session.turn().charging());
    EXPECT_EQ(session.game().currentTurn, 1);
    EXPECT_FALSE(started.announcements.empty());
    EXPECT_EQ(session.record().shotCount(), 0);  // a new record begins with the game
    EXPECT_EQ(keeper.kept, 2);
}

TEST(GameSession, ACommandMidShotIsKeptWithTheShotAndBringsItsTurnForward) {
    GameSession session;
    test::FakePlatform ui;
    session.openBoard(ui);
    session.beginNewGame(players(2));
    fireOneShot(session);
    for (int k = 0; k < 50 && session.turn().running(); ++k) session.turn().advance();
    ui.inputAnswers = {"2", "13"};
    const Judgement said = session.runCommand(HiddenCommandKind::SetPosition);
    EXPECT_EQ(ui.questions, (std::vector<std::string>{"Who? (# only)", "Where?"}));
    EXPECT_EQ(said.broughtForward, std::vector<int>{2});
    EXPECT_GT(session.turn().controls().order.pieces[2], session.turn().controls().order.pieces[1]);
    test::drive(session.turn(), ui);
    ASSERT_EQ(session.record().entries.size(), 1u);
    const std::vector<MidShotCommand> kept{{50, HiddenCommand{HiddenCommandKind::SetPosition, {"2", "13"}}}};
    EXPECT_EQ(std::get<RecordedShot>(session.record().entries[0]).midShot, kept);
}

// Where the pieces stand and how far everyone has come.
auto standing(const Game& g) { return std::tuple{g.board.pieces, g.seats, g.currentTurn, g.shotsTaken}; }

// After a game of another size, against the computer: an undo goes back past its reply to the person's
// turn, and redos play both again as they were played.
TEST(GameSession, UndoAndRedoAgainstTheComputerAfterAGameOfAnotherSize) {
    GameSession session;
    test::FakePlatform ui;
    ui.secondsPerYield = 1e-4;
    session.openBoard(ui);
    session.beginNewGame(players(3));
    fireOneShot(session);
    test::drive(session.turn(), ui);
    session.openBoard(ui);
    session.beginNewGame(players(2, PlayerKind::Novice));
    std::vector<Game> personsTurns;
    for (int k = 0; k < 3; ++k) {
        personsTurns.push_back(session.game());
        fireOneShot(session);
        test::drive(session.turn(), ui);
        session.advanced();
        for (int turns = 0; turns < 10 && session.game().gameRunning && session.seatIsComputer(); ++turns) {
            ComputerTurn* computer = session.startComputerTurn(100 + std::uint64_t(10 * k + turns));
            ASSERT_TRUE(computer);
            test::drive(*computer, session.turn(), ui);
            session.advanced();
        }
        ASSERT_TRUE(session.game().gameRunning);
    }
    const std::uint64_t end = session.game().hash();
    const int shots = session.match().shotsInEffect();
    for (int k = 2; k >= 0; --k) {
        ASSERT_TRUE(session.undo()) << k;
        EXPECT_EQ(standing(session.game()), standing(personsTurns[std::size_t(k)])) << "back at the person's turn " << k;
    }
    EXPECT_FALSE(session.canUndo());
    for (int k = 0; k < 3; ++k) ASSERT_TRUE(session.redo()) << k;
    EXPECT_EQ(session.game().hash(), end) << "the computer's shots played again as they were";
    EXPECT_EQ(session.match().shotsInEffect(), shots);
    EXPECT_FALSE(session.canRedo());
    EXPECT_TRUE(replayWholeRecord(session.record()).ok());
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
    fireOneShot(session);  // at the new board: the turn passes to the computer
    test::drive(session.turn(), second);
    ASSERT_EQ(session.game().currentTurn, 2);
    ComputerTurn* computer = session.startComputerTurn(1);
    ASSERT_NE(computer, nullptr);
    EXPECT_TRUE(computer->running());
    session.closeBoard(second);
    EXPECT_FALSE(session.hasBoard());
    EXPECT_FALSE(computer->running());
}

}  // namespace
}  // namespace capzel
