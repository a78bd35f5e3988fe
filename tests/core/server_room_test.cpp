// The online room as the game's authority: which shots it takes, seats and
// their tokens, the computer's seats, and a room kept and brought back.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <set>

#include "players/PlannedShot.h"
#include "players/Planner.h"
#include "server/Room.h"
#include "session/RecordReplay.h"
#include "session/RemoteGame.h"

namespace capzel::server {
namespace {

using protocol::CreateRoom;
constexpr auto H = PlayerKind::Human;
const Clock::time_point t0{};

// A quick search: the tests need a legal shot, not a good one.
players::PlannerOptions quickPlanner() {
    players::PlannerOptions o;
    o.threads = 1;
    o.directions = 8;
    o.strengths = 4;
    o.refineSeeds = 1;
    return o;
}

// A shot of the player whose turn it is, from the piece's centre along
// `angle` with the bar stopped after `ticks`.
protocol::Shot shotOf(const RemoteGame& game, double angle, int ticks) {
    const auto planned = players::shotAlong(game.state(), game.field().board, angle, ticks);
    return protocol::Shot{game.shotNumber() + 1, plannedShotInputs(game.state(), game.field(), planned)};
}

struct Table : ::testing::Test {
    TokenSource tokens;
    Room room{"ABC234", CreateRoom{{H, H}, true, {}, {}}, quickPlanner()};
    RemoteGame mirror;  // a player's program following the room
    std::string token1, token2;

    void SetUp() override {
        token1 = room.join("Ann", std::nullopt, tokens, t0).token;
        ASSERT_FALSE(room.begun());
        token2 = room.join("Bob", std::nullopt, tokens, t0).token;
        ASSERT_TRUE(room.begun());
        ASSERT_TRUE(mirror.applyState(room.state()));
    }
    // Plays a shot, which must be accepted, and follows it.
    void play(int seat, double angle, int ticks) {
        const ShotResult r = room.shoot(seat, shotOf(mirror, angle, ticks));
        ASSERT_EQ(r.refusal, "");
        ASSERT_TRUE(mirror.playAccepted(r.accepted));
    }
};

TEST_F(Table, RefusesEveryShotThatIsNotTheTurnsOwnAndTakesItAfter) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const int strongest = maxRecordedPower(kClientHeight);
    struct Case {
        const char* name;
        int seat;
        std::function<void(protocol::Shot&)> edit;
        const char* refusal;
    };
    const Case cases[] = {
        {"out of turn", 2, [](protocol::Shot&) {}, "not your turn: it is Ann's (seat 1)"},
        {"a shot number gone by", 1, [](protocol::Shot& s) { s.shotNumber = 0; }, "at shot 1, not 0"},
        {"a shot number ahead", 1, [](protocol::Shot& s) { s.shotNumber = 2; }, "at shot 1, not 2"},
        // A mouse dragged out of the window reports up to a field's size away.
        {"aim left of the field", 1, [](protocol::Shot& s) { s.inputs.x1 = -kClientWidth - 0.5f; }, "aim line leaves"},
        {"aim above the field", 1, [](protocol::Shot& s) { s.inputs.y2 = -kClientHeight - 1; }, "aim line leaves"},
        {"aim right of the field", 1, [](protocol::Shot& s) { s.inputs.x2 = 2 * kClientWidth + 1; }, "aim line leaves"},
        {"aim below the field", 1, [](protocol::Shot& s) { s.inputs.y1 = 2 * kClientHeight + 1; }, "aim line leaves"},
        {"aim of no length", 1, [](protocol::Shot& s) { s.inputs.x2 = s.inputs.x1, s.inputs.y2 = s.inputs.y1; }, "no length"},
        {"aim not a number", 1, [&](protocol::Shot& s) { s.inputs.x2 = nan; }, "aim line leaves"},
        {"strength past the bar", 1, [&](protocol::Shot& s) { s.inputs.power = std::int16_t(strongest + 1); },
         "outside the power bar's range, 0 to"},
        {"strength below nothing", 1, [](protocol::Shot& s) { s.inputs.power = -1; }, "outside the power bar's range"},
        {"piece placed off the field", 1, [](protocol::Shot& s) { s.inputs.placement = HandPlacement{kClientWidth - 10, 100}; },
         "placed outside the field"},
    };
    const protocol::Shot good = shotOf(mirror, -std::numbers::pi / 2, 30);
    for (const Case& c : cases) {
        protocol::Shot s = good;
        c.edit(s);
        EXPECT_NE(room.shoot(c.seat, s).refusal.find(c.refusal), std::string::npos) << c.name;
        EXPECT_EQ(room.shotCount(), 0) << c.name;
    }
    // The edges of the field and of the bar are in.
    protocol::Shot edge = good;
    edge.inputs.y2 = 2 * kClientHeight;
    edge.inputs.x2 = -kClientWidth;
    edge.inputs.power = std::int16_t(strongest);
    const ShotResult r = room.shoot(1, edge);
    EXPECT_EQ(r.refusal, "");
    EXPECT_EQ(r.accepted.shot.shotNumber, 1);
    EXPECT_EQ(r.accepted.shot.inputs.seat, 1);
    EXPECT_TRUE(mirror.playAccepted(r.accepted));
}

TEST_F(Table, APlayersProgramFollowsTheRoomToTheBitAndAKeptRoomComesBack) {
    for (int k = 0; k < 6; ++k) play(mirror.state().currentTurn, -std::numbers::pi / 2 + 0.3 * k, 10 + 7 * k);
    EXPECT_EQ(room.shotCount(), 6);
    EXPECT_EQ(mirror.hash(), gameHash(mirror.state(), mirror.field()));
    // The room's record is a game record that replays as played.
    EXPECT_TRUE(replayWholeRecord(room.record()).ok());
    EXPECT_EQ(room.record().shotCount(), 6);

    std::string error;
    const auto back = Room::fromText(room.roomText(), t0, &error, quickPlanner());
    ASSERT_NE(back, nullptr) << error;
    EXPECT_EQ(back->record(), room.record());
    EXPECT_EQ(back->state(), room.state());
    // Everyone counts as dropped; the tokens take the seats back.
    EXPECT_EQ(back->seats()[0].presence, protocol::SeatPresence::Waiting);
    EXPECT_EQ(back->join("x", token2, tokens, t0).seat, 2);
    EXPECT_EQ(back->seats()[1].presence, protocol::SeatPresence::Connected);

    // A kept room whose shots were changed is refused.
    std::string text = room.roomText();
    const std::size_t power = text.find("\"power\":", text.find("\"entries\""));
    text.replace(power, 9, "\"power\":1");
    EXPECT_EQ(Room::fromText(text, t0, &error), nullptr);
    EXPECT_NE(error.find("shot 1 does not play back as recorded"), std::string::npos) << error;
}

TEST_F(Table, SeatsGoOnlyWithTheirTokensAndAreHeldForFiveMinutes) {
    EXPECT_EQ(room.join("Eve", std::nullopt, tokens, t0).refusal, "Room ABC234 has no free seat.");
    EXPECT_EQ(room.join("Eve", std::string(32, '0'), tokens, t0).refusal, "The token holds no seat in room ABC234.");
    EXPECT_EQ(token1.size(), 32u);
    EXPECT_NE(token1, token2);

    room.leave(1, t0);
    EXPECT_EQ(room.seats()[0].presence, protocol::SeatPresence::Waiting);
    const JoinResult back = room.join("Ann again", token1, tokens, t0 + kSeatHold - std::chrono::seconds(1));
    EXPECT_EQ(back.seat, 1);
    EXPECT_EQ(room.seats()[0].name, "Ann");  // the game's names stay
    EXPECT_EQ(room.seats()[0].presence, protocol::SeatPresence::Connected);

    room.leave(1, t0);
    EXPECT_FALSE(room.releaseExpiredHolds(t0 + kSeatHold - std::chrono::seconds(1)));
    EXPECT_TRUE(room.releaseExpiredHolds(t0 + kSeatHold));
    EXPECT_EQ(room.seats()[0].presence, protocol::SeatPresence::Computer);
    EXPECT_TRUE(room.computerToPlay());
    EXPECT_NE(room.join("Ann", token1, tokens, t0 + kSeatHold).refusal, "");
    const JoinResult taken = room.join("Eve", std::nullopt, tokens, t0 + kSeatHold);
    EXPECT_EQ(taken.seat, 1);
    EXPECT_NE(taken.token, token1);
    EXPECT_FALSE(room.computerToPlay());
}

TEST_F(Table, ARoomLeftByEverybodyIsDesertedOnceTheLastHoldRunsOut) {
    using std::chrono::seconds;
    EXPECT_EQ(room.ending(t0), RoomEnd::Open);
    room.leave(1, t0);
    room.leave(2, t0 + seconds(10));
    room.releaseExpiredHolds(t0 + kSeatHold);
    EXPECT_EQ(room.ending(t0 + kSeatHold), RoomEnd::Open);  // Bob's seat is still held
    room.releaseExpiredHolds(t0 + kSeatHold + seconds(10));
    EXPECT_EQ(room.ending(t0 + kSeatHold + seconds(10)), RoomEnd::Deserted);

    // A room whose game never began, left by its maker.
    Room waiting("WAKE23", CreateRoom{{H, H}, true, {}, {}});
    waiting.join("Ann", std::nullopt, tokens, t0);
    waiting.leave(1, t0);
    EXPECT_EQ(waiting.ending(t0), RoomEnd::Open);
    waiting.releaseExpiredHolds(t0 + kSeatHold);
    EXPECT_EQ(waiting.ending(t0 + kSeatHold), RoomEnd::Deserted);
}

TEST(Room, AFinishedGameClosesTheRoomWhenItsPlayerLeavesOrAMinuteAfterTheEnd) {
    using std::chrono::seconds;
    TokenSource tokens;
    Room room("ALNE23", CreateRoom{{H}, true, {}, {}});
    room.join("Ann", std::nullopt, tokens, t0);
    RemoteGame mirror;
    ASSERT_TRUE(mirror.applyState(room.state()));
    // The hint's shots, even from a small search, finish a game alone in a
    // few dozen shots.
    players::PlannerOptions search;
    search.directions = 48;
    search.strengths = 12;
    search.refineSeeds = 4;
    int shots = 0;
    for (; room.running() && shots < 200; ++shots) {
        EXPECT_EQ(room.ending(t0), RoomEnd::Open);
        const auto plan = players::planShot(mirror.state(), mirror.field(), H, std::uint64_t(shots), search);
        const protocol::Shot shot{shots + 1, plannedShotInputs(mirror.state(), mirror.field(), plan.shot)};
        const ShotResult r = room.shoot(1, shot);
        ASSERT_EQ(r.refusal, "");
        ASSERT_TRUE(mirror.playAccepted(r.accepted));
    }
    ASSERT_FALSE(room.running()) << shots << " shots";
    EXPECT_EQ(room.record().winner, 1);

    const auto end = t0 + seconds(100);
    EXPECT_EQ(room.ending(end), RoomEnd::Open);  // Ann is still looking at the end
    EXPECT_EQ(room.ending(end + kFinishedRoomStay - seconds(1)), RoomEnd::Open);
    EXPECT_EQ(room.ending(end + kFinishedRoomStay), RoomEnd::Finished);

    std::string error;
    const auto back = Room::fromText(room.roomText(), t0, &error);
    ASSERT_NE(back, nullptr) << error;
    EXPECT_EQ(back->ending(t0), RoomEnd::Finished);  // nobody is connected
    back->join("Ann", back->seatDetails()[0].token, tokens, t0);
    EXPECT_EQ(back->ending(t0), RoomEnd::Open);
    back->leave(1, t0 + seconds(1));
    EXPECT_EQ(back->ending(t0 + seconds(1)), RoomEnd::Finished);
}

TEST(Tokens, RoomCodesAreReadableAndBeginWithTheServersPrefix) {
    TokenSource tokens;
    // Seat tokens: 32 hexadecimal digits, every digit drawn in every place.
    std::set<std::string> seen;
    std::vector<std::set<char>> digitsAt(protocol::kTokenDigits);
    for (int k = 0; k < 400; ++k) {
        const std::string token = tokens.seatToken();
        ASSERT_TRUE(protocol::isSeatToken(token)) << token;
        seen.insert(token);
        for (std::size_t i = 0; i < token.size(); ++i) digitsAt[i].insert(token[i]);
    }
    EXPECT_EQ(seen.size(), 400u);
    for (const auto& digits : digitsAt) EXPECT_EQ(digits.size(), 16u);
    for (const std::string prefix : {"", "K", "Z9"}) {
        const std::string a = tokens.roomCode(prefix), b = tokens.roomCode(prefix);
        EXPECT_TRUE(protocol::isRoomCode(a)) << a;
        EXPECT_EQ(a.substr(0, prefix.size()), prefix);
        EXPECT_NE(a, b);
    }
}

TEST(Room, OnePlayerHoldsSeveralSeatsAndTheHostHandsAHeldSeatToTheComputer) {
    TokenSource tokens;
    Room room("HAT234", CreateRoom{{H, H, H, PlayerKind::Novice}, true, {"Ann", "", "Cy", ""}, {}}, quickPlanner());
    const JoinResult host = room.join(JoinRequest{"Host", std::nullopt, {3, 1}, {}, true}, tokens, t0);
    ASSERT_EQ(host.refusal, "");
    EXPECT_EQ(host.seats, (std::vector<int>{3, 1}));
    struct Case { std::vector<int> seats; std::vector<std::string> names; const char* refusal; };
    for (const Case& c : {Case{{1}, {}, "Seat 1 of room HAT234 is not free"}, Case{{4}, {}, "Seat 4 of room"},
                          Case{{5}, {}, "Seat 5 of room"}, Case{{2, 3}, {}, "Seat 3 of room"}})
        EXPECT_NE(room.join(JoinRequest{"Eve", std::nullopt, c.seats, c.names}, tokens, t0).refusal.find(c.refusal),
                  std::string::npos);
    EXPECT_FALSE(room.begun());
    const JoinResult bob = room.join(JoinRequest{"Bob", std::nullopt, {2}, {"Bobby"}}, tokens, t0);
    ASSERT_TRUE(room.begun());
    const auto seats = room.seats();
    EXPECT_EQ(seats[0].name, "Ann");  // the maker's names, and the joiner's own
    EXPECT_EQ(seats[1].name, "Bobby");
    EXPECT_EQ(seats[2].name, "Cy");
    EXPECT_TRUE(seats[0].host && seats[2].host && !seats[1].host);

    EXPECT_EQ(room.handToComputer(1, 2), "The player of seat 2 is still here.");
    room.leave(2, t0);
    EXPECT_EQ(room.handToComputer(2, 2), "Only the room's host hands a seat to the computer.");
    EXPECT_EQ(room.handToComputer(3, 4), "The computer plays seat 4 already.");
    EXPECT_EQ(room.handToComputer(1, 2), "");
    EXPECT_EQ(room.seats()[1].presence, protocol::SeatPresence::Computer);
    EXPECT_NE(room.join("Bob", bob.token, tokens, t0).refusal, "");
    // The host's token takes both its seats back at once.
    room.leave(1, t0);
    room.leave(3, t0);
    EXPECT_EQ(room.join("Host", host.token, tokens, t0).seats, (std::vector<int>{1, 3}));
    // Kept and brought back, the host stays the host.
    std::string error;
    const auto back = Room::fromText(room.roomText(), t0, &error, quickPlanner());
    ASSERT_NE(back, nullptr) << error;
    EXPECT_TRUE(back->seats()[2].host);
}

TEST(Room, ComputerSeatsArePlayedByTheRoomAndNobodyShootsMeanwhile) {
    TokenSource tokens;
    EXPECT_NE(Room::setupRefusal(CreateRoom{{PlayerKind::Club}, true, {}, {}}), std::nullopt);
    EXPECT_NE(Room::setupRefusal(CreateRoom{{}, true, {}, {}}), std::nullopt);
    Room room("XYZ789", CreateRoom{{PlayerKind::Novice, H}, false, {}, {}}, quickPlanner());
    EXPECT_NE(room.shoot(2, protocol::Shot{1, {}}).refusal.find("has not begun"), std::string::npos);
    EXPECT_EQ(room.join("Ann", std::nullopt, tokens, t0).seat, 2);
    ASSERT_TRUE(room.begun());
    RemoteGame mirror;
    ASSERT_TRUE(mirror.applyState(room.state()));
    EXPECT_EQ(room.seats()[0].presence, protocol::SeatPresence::Computer);

    std::optional<protocol::Accepted> played = room.pollComputer();  // starts planning
    EXPECT_FALSE(played);
    EXPECT_EQ(room.shoot(2, shotOf(mirror, 0, 10)).refusal, "A shot is under way.");
    while (!played) played = room.pollComputer();
    EXPECT_EQ(played->shot.inputs.seat, 1);
    EXPECT_TRUE(mirror.playAccepted(*played));
    EXPECT_FALSE(room.computerToPlay());
    EXPECT_FALSE(room.pollComputer());
}

}  // namespace
}  // namespace capzel::server
