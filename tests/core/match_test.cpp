// The one rulebook seen from every way of playing: what the window lets a
// player do the server takes and nothing more; a shot stepped by a clock
// ends where the same command applied whole ends; a record plays back on
// any match; a game joined midway or replaced by the server's keeps a
// record; undo and redo in any order of games.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>

#include "DataRows.h"
#include "controls/TurnController.h"
#include "match/Match.h"
#include "match/RecordReplay.h"
#include "model/Placement.h"
#include "model/PowerBarScale.h"
#include "players/PlannedShot.h"
#include "records/GameText.h"
#include "rules/TurnStart.h"
#include "Scenario.h"
#include "server/Room.h"
#include "session/GameSession.h"
#include "session/OnlineGame.h"
#include "support/FakePlatform.h"

namespace capzel {
namespace {

using test::FakePlatform;

// A new game of `players` people, its first turn started, as every new game begins.
Match newMatch(int players, bool walls = true) {
    NewGameSettings settings;
    settings.players = players;
    settings.walls = walls;
    Game g;
    applyNewGame(g, settings);
    paintPlayerColors(g);
    FakePlatform quiet;
    GameContext ctx{g, quiet};
    Judgement started = startTurn(ctx, g.currentTurn);
    return Match(std::move(g), std::move(started.announcements));
}

// The window's path for a shot: the board's turn fires it, and its clock
// steps it at the window's pace until it is judged and told.
void playAtBoard(TurnController& turn, FakePlatform& ui, const ShotCommand& shot) {
    ASSERT_FALSE(turn.fire(shot)) << "the board refused a shot the rulebook took";
    while (turn.running()) {
        ui.yield(turn.wait());
        turn.advance();
    }
    turn.takeAnnouncements();
}

// A shot of the player whose turn it is, as a person might make it: aimed
// from the piece's centre in a random direction, the bar stopped at a random
// tick, and a piece the rules let be moved dragged to a random place.
ShotCommand randomShot(const Game& g, std::mt19937& dice) {
    std::uniform_real_distribution<double> angle(-3.14159, 3.14159);
    std::uniform_int_distribution<int> ticks(1, maxBarTicks());
    ShotCommand shot = players::plannedShotCommand(g, players::shotAlong(g, angle(dice), ticks(dice)));
    const Seat& seat = g.seat(g.currentTurn);
    if (seat.moveableNextTurn && seat.position >= 1 && seat.position <= kSpotCount && dice() % 2) {
        const Box& box = g.board.spots[std::size_t(seat.position)];
        const Box& piece = g.piece(g.currentTurn);
        std::uniform_real_distribution<double> offset(-600, 600);
        shot.placement = HandPlacement{holdWithin(float(box.left + offset(dice)), box.left, box.width, piece.width),
                                       holdWithin(float(box.top + offset(dice)), box.top, box.height, piece.height)};
    }
    return shot;
}

// Every placement the window can give, the rulebook takes; every other
// place is refused as outside the box. The window's place for a mouse at
// the centre of a grid point is compared with the grid point itself: where
// they agree the mouse can put the piece there.
void checkPlacementsAround(const Game& g, int& accepted, int& refused) {
    const int seat = g.currentTurn;
    const Box& piece = g.piece(seat);
    const Box& box = g.board.spots[std::size_t(g.seat(seat).position)];
    FakePlatform ui;
    for (int row = 0; row < 45; ++row) {
        for (int column = 0; column < 48; ++column) {
            const float left = float(box.left - 1200 + column * 55.5);
            const float top = float(box.top - 1200 + row * 57.25);
            Match match(g);
            TurnController turn(match, ui);
            turn.mouseMove(0, 1, float(left + piece.width / 2), float(top + piece.height / 2));
            const std::optional<HandPlacement> byMouse = turn.pending().placement;
            ASSERT_TRUE(byMouse);
            ShotCommand shot = turn.pendingShot(4000);
            shot.x1 = shot.x2 = 5000;
            shot.y1 = 5000, shot.y2 = 5100;
            // What the mouse put down is taken.
            ASSERT_FALSE(validate(g, shot)) << "window placement " << byMouse->left << "," << byMouse->top;
            shot.placement = HandPlacement{left, top};
            const std::optional<Refusal> verdict = validate(g, shot);
            if (*byMouse == *shot.placement) {
                ASSERT_FALSE(verdict) << left << "," << top;
                ++accepted;
            } else {
                ASSERT_TRUE(verdict && verdict->code == RefusalCode::PlacementOutsideBox) << left << "," << top;
                ++refused;
            }
        }
    }
}

TEST(OneRulebook, TheServerTakesExactlyThePlacementsTheWindowGives) {
    int games = 0, accepted = 0, refused = 0;
    for (const nlohmann::json& record : test::dataRows("scenarios.jsonl")) {
        Game g;
        scenarios::setUp(g, scenarios::scenarioFromJson(record.at("in")));
        const Seat& seat = g.seat(g.currentTurn);
        if (!seat.moveableNextTurn || seat.position < 1 || seat.position > kSpotCount || games >= 40) continue;
        ++games;
        checkPlacementsAround(g, accepted, refused);
    }
    EXPECT_GE(games, 20);
    EXPECT_GT(accepted, 1000);
    EXPECT_GT(refused, 10 * accepted);
}

// The exploit once found: a first online shot with the piece put beyond its
// box, into its next target. The room refuses it with the code, and takes
// the same shot with the piece where the mouse could put it.
TEST(OneRulebook, TheRoomRefusesAPieceCarriedOutOfItsBox) {
    server::TokenSource tokens;
    server::Room room("ABC234", protocol::CreateRoom{{PlayerKind::Human, PlayerKind::Human}, true, {}, {}});
    room.join("Ann", std::nullopt, tokens, {});
    room.join("Bob", std::nullopt, tokens, {});
    ASSERT_TRUE(room.begun());
    const Game& g = room.game();
    ASSERT_TRUE(g.seat(1).moveableNextTurn);
    const Box& next = g.board.spots[2];
    protocol::Shot shot{1, {}};
    static_cast<ShotCommand&>(shot.inputs) = players::plannedShotCommand(g, players::shotAlong(g, 0.3, 3));
    shot.inputs.placement = HandPlacement{next.left + 300, next.top + 300};
    const server::ShotResult refusedShot = room.shoot(1, shot);
    ASSERT_TRUE(refusedShot.refusal);
    EXPECT_EQ(refusedShot.refusal->code, RefusalCode::PlacementOutsideBox);
    EXPECT_EQ(room.shotCount(), 0);
    const Box& own = g.board.spots[std::size_t(g.seat(1).position)];
    shot.inputs.placement = HandPlacement{own.left, own.top};
    EXPECT_FALSE(room.shoot(1, shot).refusal);
}

// A game's commands through every way of playing: applied whole on a match,
// stepped by a board's clock on a session (hidden commands asked through its
// boxes, one of them in the middle of a shot), on the server's room when the
// game has only shots, and replayed from the record as Watch and the
// simulator replay it. The hash after every command is the same on all.
TEST(OneRulebook, EveryWayOfPlayingReachesTheSameGameAfterEveryCommand) {
    const HiddenCommand friction{HiddenCommandKind::SetFriction, {"all", "97.5"}};
    const HiddenCommand speed{HiddenCommandKind::SetSpeed, {"1", "3.25", "-4"}};
    const HiddenCommand position{HiddenCommandKind::SetPosition, {"2", "7"}};
    int shots = 0, midShot = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 dice(seed);
        const int players = 2 + int(seed % 3);
        const bool withCommands = seed % 2 == 0;
        Match whole = newMatch(players, seed % 3 != 0);

        FakePlatform ui;
        ui.secondsPerYield = 1e-6;
        GameSession session;
        session.openBoard(ui);
        session.beginOnlineGame(whole.game(), std::nullopt);
        session.setSeatsPlayedHere(nullptr);

        server::TokenSource tokens;
        server::Room room("ROOM23", protocol::CreateRoom{std::vector<PlayerKind>(std::size_t(players), PlayerKind::Human),
                                                         seed % 3 != 0, {}, {}});
        for (int k = 0; k < players; ++k) room.join("Player " + std::to_string(k + 1), std::nullopt, tokens, {});
        ASSERT_EQ(room.game().hash(), whole.game().hash()) << "a room's game begins as every new game";

        for (int step = 0; step < 25 && whole.game().gameRunning; ++step) {
            if (withCommands && step % 6 == 3) {
                const HiddenCommand& command = step % 12 == 3 ? friction : position;
                ASSERT_TRUE(whole.play(command).taken());
                ui.inputAnswers.assign(command.answers.begin(), command.answers.end());
                session.runCommand(command.kind);
                ASSERT_EQ(session.game().hash(), whole.game().hash()) << "seed " << seed << " command at " << step;
                continue;
            }
            ShotCommand shot = randomShot(whole.game(), dice);
            // Now and then a command comes while the shot runs, at the board
            // between two of its steps; the whole shot carries it there.
            if (withCommands && step % 5 == 1) {
                long at = 0;
                ui.onYield = [&] {
                    if (++at != 40) return;
                    ui.inputAnswers.assign(speed.answers.begin(), speed.answers.end());
                    session.runCommand(speed.kind);
                };
            }
            playAtBoard(session.turn(), ui, shot);
            ui.onYield = nullptr;
            const auto& entries = session.record().entries;
            shot = std::get<RecordedShot>(entries.back());
            ASSERT_TRUE(whole.play(shot).taken()) << "seed " << seed << " shot " << step;
            ASSERT_EQ(session.game().hash(), whole.game().hash()) << "seed " << seed << " shot " << step;
            if (!withCommands) {
                protocol::Shot sent{room.shotCount() + 1, {}};
                static_cast<ShotCommand&>(sent.inputs) = shot;
                const server::ShotResult played = room.shoot(shot.seat, sent);
                ASSERT_FALSE(played.refusal) << played.refusal->text;
                ASSERT_EQ(played.accepted.shot.inputs.outcome.hash, whole.game().hash()) << "seed " << seed;
            }
        }
        for (const RecordEntry& e : whole.record().entries)
            if (const auto* s = std::get_if<RecordedShot>(&e)) ++shots, midShot += int(s->midShot.size());
        const ReplayCheck replayed = replayWholeRecord(whole.record());
        EXPECT_TRUE(replayed.ok()) << "seed " << seed << ": " << replayed.firstMismatch->describe();
        EXPECT_EQ(session.record().entries, whole.record().entries) << "seed " << seed;
        const ReplayCheck readBack = replayWholeRecord(*readGameRecord(writeGameRecord(session.record()), nullptr));
        EXPECT_TRUE(readBack.ok()) << "seed " << seed << ": " << readBack.firstMismatch->describe();
        session.closeBoard(ui);
    }
    EXPECT_GE(shots, 200);
    EXPECT_GE(midShot, 6);
}

// A record written to a file plays back in the simulator with exit 0.
int simReplays(const GameRecord& record, const std::string& name) {
    const std::string path = testing::TempDir() + name;
    std::ofstream(path) << writeGameRecord(record);
    const std::string command = std::string(CAPZEL_BIN_DIR) + "/capzel-sim --replay < " + path + " > /dev/null";
    return std::system(command.c_str());
}

// Where the pieces stand and how far everyone has come.
auto standing(const Game& g) { return std::tuple{g.board.pieces, g.seats, g.currentTurn, g.shotsTaken}; }

// After a game of two, a game of one in the same run of the program: undo to
// its first shot, redo to its last, and its record still plays back.
TEST(OneRulebook, UndoAndRedoHoldAfterAGameOfAnotherSize) {
    FakePlatform ui;
    GameSession session;
    NewGameSettings two;
    two.players = 2;
    session.openBoard(ui);
    session.beginNewGame(two);
    std::mt19937 dice(7);
    playAtBoard(session.turn(), ui, randomShot(session.game(), dice));
    NewGameSettings one;
    session.openBoard(ui);
    session.beginNewGame(one);
    // Shots without a placement by hand, which an undo keeps.
    const auto shot = [&] {
        ShotCommand s = randomShot(session.game(), dice);
        s.placement.reset();
        return s;
    };
    const Game start = session.game();
    playAtBoard(session.turn(), ui, shot());
    const Game afterFirst = session.game();
    playAtBoard(session.turn(), ui, shot());
    const std::uint64_t afterSecond = session.game().hash();
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(standing(session.game()), standing(afterFirst));
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(standing(session.game()), standing(start));
    EXPECT_FALSE(session.canUndo());
    ASSERT_TRUE(session.redo());
    ASSERT_TRUE(session.redo());
    EXPECT_EQ(session.game().hash(), afterSecond);
    EXPECT_FALSE(session.canRedo());
    EXPECT_TRUE(replayWholeRecord(session.record()).ok());
    EXPECT_EQ(simReplays(session.record(), "/two-then-one.json"), 0);
}

// Drives the board's runs and the computer's turns as the window's clock
// does, until it is a person's turn again with nothing under way.
void untilAPersonsTurn(GameSession& session, FakePlatform& ui, std::uint64_t seed) {
    for (int turns = 0; turns < 10 && session.game().gameRunning && session.seatIsComputer(); ++turns) {
        ComputerTurn* computer = session.startComputerTurn(seed + std::uint64_t(turns));
        ASSERT_TRUE(computer);
        while (computer->running()) {
            ui.yield(computer->wait());
            computer->advance();
            session.turn().takeAnnouncements();
        }
        session.advanced();
    }
}

// Against the computer, an undo goes back to the person's last turn past the
// computer's reply, and a redo plays the recorded shots again, the
// computer's too, exactly as they were played.
TEST(OneRulebook, UndoAndRedoAgainstTheComputerReturnToThePersonsTurn) {
    FakePlatform ui;
    ui.secondsPerYield = 1e-4;
    GameSession session;
    session.openBoard(ui);
    NewGameSettings settings;
    settings.players = 2;
    settings.seats[2] = PlayerKind::Novice;
    session.beginNewGame(settings);
    std::mt19937 dice(3);
    std::vector<Game> personsTurns;  // the game at each of the person's turns
    for (int k = 0; k < 3; ++k) {
        personsTurns.push_back(session.game());
        ShotCommand shot = randomShot(session.game(), dice);
        shot.placement.reset();
        playAtBoard(session.turn(), ui, shot);
        session.advanced();
        untilAPersonsTurn(session, ui, 100 + std::uint64_t(k) * 10);
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

// The program's own outbox: what the client sends, kept.
struct Outbox final : OnlineOutbox {
    std::vector<protocol::Message> sent;
    void send(const protocol::Message& message) override { sent.push_back(message); }
};

// A game joined at its fifth shot, and a game replaced by the server's after
// a difference: each keeps a record from there that plays back to the end.
TEST(OneRulebook, AGameJoinedMidwayOrReplacedByTheServersKeepsARecord) {
    Match server = newMatch(2);
    std::mt19937 dice(11);
    for (int k = 0; k < 5; ++k) ASSERT_TRUE(server.play(randomShot(server.game(), dice)).taken());

    FakePlatform ui;
    ui.secondsPerYield = 1e-4;
    GameSession session;
    Outbox outbox;
    OnlineGame online(session, outbox);
    session.openBoard(ui);
    protocol::Joined joined;
    joined.code = "ABC234";
    joined.mine = {2};
    joined.token = std::string(32, 'a');
    online.onJoined(joined);
    online.onState(protocol::State{5, writeGameText(server.game())});
    ASSERT_EQ(session.game().hash(), server.game().hash());
    ASSERT_EQ(session.record().entries.size(), 0u);

    // Two more shots, the second of them against a game that went wrong here.
    for (int k = 6; k <= 7; ++k) {
        const ShotCommand shot = randomShot(server.game(), dice);
        ASSERT_TRUE(server.play(shot).taken());
        protocol::Accepted accepted;
        accepted.shot.shotNumber = k;
        static_cast<ShotCommand&>(accepted.shot.inputs) = shot;
        accepted.shot.inputs.outcome = {server.game().hash(), {}};
        online.onAccepted(accepted);
        for (int polls = 0; polls < 100000 && online.shotsPlayed() < k; ++polls) {
            const OnlineNews news = online.poll(ui.clock());
            ui.clockNow += 0.05;
            if (news.remoteShot)
                while (news.remoteShot->running()) {
                    ui.yield(news.remoteShot->wait());
                    news.remoteShot->advance();
                }
            session.turn().takeAnnouncements();
            session.advanced();
        }
        ASSERT_EQ(online.shotsPlayed(), k);
    }
    EXPECT_EQ(session.game().hash(), server.game().hash());
    const GameRecord joinedRecord = session.record();
    EXPECT_EQ(joinedRecord.shotCount(), 2);
    EXPECT_TRUE(replayWholeRecord(*readGameRecord(writeGameRecord(joinedRecord), nullptr)).ok());
    EXPECT_EQ(simReplays(joinedRecord, "/joined-at-5.json"), 0);

    // The server's game after one more shot replaces the game here.
    ASSERT_TRUE(server.play(randomShot(server.game(), dice)).taken());
    online.onState(protocol::State{8, writeGameText(server.game())});
    EXPECT_EQ(session.game().hash(), server.game().hash());
    EXPECT_EQ(session.record().shotCount(), 0);
    EXPECT_EQ(simReplays(session.record(), "/replaced.json"), 0);
}

}  // namespace
}  // namespace capzel
