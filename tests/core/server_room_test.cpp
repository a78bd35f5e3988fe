// The online room as the game's authority: which shots it takes, seats and
// their tokens, the computer's seats, and a room kept and brought back.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <numbers>
#include <set>

#include "players/PlannedShot.h"
#include "players/Planner.h"
#include "server/Room.h"
#include "match/RecordReplay.h"
#include "model/PowerBarScale.h"
#include "support/RoomFollower.h"

namespace capzel::server {
namespace {

using protocol::CreateRoom;
constexpr auto H = PlayerKind::Human;
const Clock::time_point t0{};

// A quick search: the tests need a legal shot, not a good one.
players::PlannerOptions quickPlanner() { return {.threads = 1, .directions = 8, .strengths = 4, .refineSeeds = 1}; }

struct Table : ::testing::Test {
    TokenSource tokens;
    Room room{"ABC234", CreateRoom{{H, H}, true, {}, {}}, quickPlanner()};
    test::RoomFollower mirror;  // a player's program following the room
    std::string token1, token2;

    void SetUp() override {
        token1 = room.join("Ann", std::nullopt, tokens, t0).token;
        ASSERT_FALSE(room.begun());
        token2 = room.join("Bob", std::nullopt, tokens, t0).token;
        ASSERT_TRUE(room.begun());
        ASSERT_TRUE(mirror.take(room.state()));
    }
};

TEST_F(Table, RefusesEveryShotThatIsNotTheTurnsOwnAndTakesItAfter) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const float far = float(kMaxAimReach) + 64;  // the next float past the reach
    const int strongest = strongestStrength(kClientHeight);
    const Box &box1 = mirror.game().board.spots[1], &box2 = mirror.game().board.spots[2], &piece1 = mirror.game().piece(1);
    struct Case { const char* name; int seat; std::function<void(protocol::Shot&)> edit; RefusalCode code; };
    const auto place = [](float x, float y) { return [=](protocol::Shot& s) { s.inputs.placement = HandPlacement{x, y}; }; };
    using enum RefusalCode;
    const Case cases[] = {
        {"out of turn", 2, [](protocol::Shot&) {}, NotYourTurn},
        {"a shot number gone by", 1, [](protocol::Shot& s) { s.shotNumber = 0; }, StaleShotNumber},
        {"a shot number ahead", 1, [](protocol::Shot& s) { s.shotNumber = 2; }, StaleShotNumber},
        {"aim far left", 1, [&](protocol::Shot& s) { s.inputs.x1 = -far; }, AimOutOfReach},
        {"aim far below", 1, [&](protocol::Shot& s) { s.inputs.y2 = far; }, AimOutOfReach},
        {"aim not a number", 1, [&](protocol::Shot& s) { s.inputs.x2 = nan; }, AimOutOfReach},
        {"aim at infinity", 1, [&](protocol::Shot& s) { s.inputs.y1 = -inf; }, AimOutOfReach},
        {"strength past the bar", 1, [&](protocol::Shot& s) { s.inputs.strength = std::int16_t(strongest + 1); },
         StrengthOutOfRange},
        {"strength below nothing", 1, [](protocol::Shot& s) { s.inputs.strength = -1; }, StrengthOutOfRange},
        {"piece placed off the field", 1, place(kClientWidth - 10, 100), PlacementOutsideBox},
        {"piece placed a twip out of its box", 1, place(box1.left - 1, box1.top + 100), PlacementOutsideBox},
        {"piece placed a twip past its far side", 1, place(box1.left + box1.width - piece1.width + 1, box1.top),
         PlacementOutsideBox},
        {"piece placed at no number", 1, place(nan, box1.top), PlacementOutsideBox},
        {"piece carried into its next target", 1, place(box2.left + 300, box2.top + 300), PlacementOutsideBox},
    };
    const protocol::Shot good = mirror.shotAlong(-std::numbers::pi / 2, 30);
    for (const Case& c : cases) {
        protocol::Shot s = good;
        c.edit(s);
        const std::optional<Refusal> refused = room.shoot(c.seat, s).refusal;
        ASSERT_TRUE(refused) << c.name;
        EXPECT_EQ(refused->code, c.code) << c.name << ": " << refused->text;
        EXPECT_FALSE(refused->text.empty()) << c.name;
        EXPECT_EQ(room.shotCount(), 0) << c.name;
    }
    EXPECT_NE(room.shoot(2, good).refusal->text.find("it is Ann's (seat 1)"), std::string::npos);
    // In: a line of no length (nothing moves), a piece in a corner of its box, the ends of the reach and the bar.
    protocol::Shot still = good;
    still.inputs.x2 = still.inputs.x1;
    still.inputs.y2 = still.inputs.y1;
    still.inputs.placement = HandPlacement{box1.left, box1.top + box1.height - piece1.height};
    still.inputs.midShot = {{0, HiddenCommand{HiddenCommandKind::SetSpeed, {"1", "500", "0"}}}};
    ShotResult r = room.shoot(1, still);
    ASSERT_EQ(r.refusal, std::nullopt) << r.refusal->text;
    EXPECT_EQ(r.accepted.shot.shotNumber, 1);
    EXPECT_TRUE(r.accepted.shot.inputs.seat == 1 && r.accepted.shot.inputs.midShot.empty()) << "no hidden command online";
    EXPECT_TRUE(mirror.follow(r.accepted));
    protocol::Shot edge = mirror.shotAlong(0.3, 10);
    edge.inputs.y2 = float(kMaxAimReach);
    edge.inputs.x2 = -float(kMaxAimReach);
    edge.inputs.strength = std::int16_t(strongest);
    const int seat = mirror.game().currentTurn;
    r = room.shoot(seat, edge);
    ASSERT_EQ(r.refusal, std::nullopt) << r.refusal->text;
    EXPECT_EQ(r.accepted.shot.inputs.seat, seat);
    EXPECT_TRUE(mirror.follow(r.accepted));
}

TEST_F(Table, APlayersProgramFollowsTheRoomToTheBitAndAKeptRoomComesBack) {
    // The file as the server keeps it: the whole text, then each entry's line and the new tail over the old.
    std::string kept = room.roomText();
    std::size_t tail = room.roomTail().size();
    for (int k = 0; k < 6; ++k) {
        const protocol::Shot shot = mirror.shotAlong(-std::numbers::pi / 2 + 0.3 * k, 10 + 7 * k);
        const ShotResult r = room.shoot(mirror.game().currentTurn, shot);
        ASSERT_EQ(r.refusal, std::nullopt) << r.refusal->text;
        ASSERT_TRUE(mirror.follow(r.accepted));
        if (k == 3) room.leave(2, t0);  // a seat's change is the tail's
        kept.resize(kept.size() - tail);
        kept += room.entryLine(std::size_t(k)) + room.roomTail();
        tail = room.roomTail().size();
    }
    EXPECT_EQ(kept, room.roomText());
    EXPECT_EQ(room.shotCount(), 6);
    EXPECT_EQ(room.game().hash(), mirror.game().hash());
    EXPECT_TRUE(replayWholeRecord(room.record()).ok());
    EXPECT_EQ(room.record().shotCount(), 6);

    std::string error;
    const auto back = Room::fromText(room.roomText(), t0, &error, quickPlanner());
    ASSERT_NE(back, nullptr) << error;
    EXPECT_EQ(back->record(), room.record());
    EXPECT_EQ(back->state(), room.state());
    EXPECT_TRUE(back->game() == room.game());
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
    EXPECT_EQ(room.join("Eve", std::nullopt, tokens, t0).refusal->code, RefusalCode::NoFreeSeat);
    EXPECT_EQ(room.join("Eve", std::string(32, '0'), tokens, t0).refusal->code, RefusalCode::TokenHoldsNoSeat);
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
    EXPECT_EQ(room.join("Ann", token1, tokens, t0 + kSeatHold).refusal->code, RefusalCode::TokenHoldsNoSeat);
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

    // A room whose game never began, left by its maker, goes after a minute.
    Room waiting("WAKE23", CreateRoom{{H, H}, true, {}, {}});
    waiting.join("Ann", std::nullopt, tokens, t0);
    waiting.leave(1, t0);
    EXPECT_EQ(waiting.ending(t0 + kEmptyRoomStay - seconds(1)), RoomEnd::Open);
    EXPECT_EQ(waiting.ending(t0 + kEmptyRoomStay), RoomEnd::Deserted);
    waiting.join("Ann", waiting.seatDetails()[0].token, tokens, t0 + seconds(30));
    waiting.leave(1, t0 + seconds(40));
    EXPECT_EQ(waiting.ending(t0 + seconds(40) + kEmptyRoomStay - seconds(1)), RoomEnd::Open);
}

TEST(Room, AFinishedGameClosesTheRoomWhenItsPlayerLeavesOrAMinuteAfterTheEnd) {
    using std::chrono::seconds;
    TokenSource tokens;
    Room room("ALNE23", CreateRoom{{H}, true, {}, {}});
    room.join("Ann", std::nullopt, tokens, t0);
    test::RoomFollower mirror;
    ASSERT_TRUE(mirror.take(room.state()));
    const players::PlannerOptions search{.directions = 48, .strengths = 12, .refineSeeds = 4};  // a game alone ends
    int shots = 0;
    for (; room.running() && shots < 200; ++shots) {
        EXPECT_EQ(room.ending(t0), RoomEnd::Open);
        const auto plan = players::planShot(mirror.game(), H, std::uint64_t(shots), search);
        const ShotResult r = room.shoot(1, mirror.shot(plan.shot));
        ASSERT_EQ(r.refusal, std::nullopt);
        ASSERT_TRUE(mirror.follow(r.accepted));
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

// Seat tokens: 32 hex digits, each place drawn apart (every two places show nearly all 256 pairs).
TEST(Tokens, SeatTokensAreIndependentDigitsAndRoomCodesBeginWithTheServersPrefix) {
    TokenSource tokens;
    std::vector<std::string> many(2000);
    for (std::string& token : many) ASSERT_TRUE(protocol::isSeatToken(token = tokens.seatToken())) << token;
    EXPECT_EQ(std::set<std::string>(many.begin(), many.end()).size(), many.size());
    for (std::size_t i = 0; i < protocol::kTokenDigits; ++i)
        for (std::size_t j = i + 1; j < protocol::kTokenDigits; ++j) {
            std::set<std::pair<char, char>> pairs;
            for (const std::string& token : many) pairs.emplace(token[i], token[j]);
            ASSERT_GE(pairs.size(), 250u) << "places " << i << " and " << j;  // 15 digits in a place give 240
        }
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
    ASSERT_EQ(host.refusal, std::nullopt);
    EXPECT_EQ(host.seats, (std::vector<int>{3, 1}));
    // Taken, a computer's, beyond the room, one of two taken: the seat named.
    struct Case { std::vector<int> seats; const char* named; };
    for (const Case& c : {Case{{1}, "Seat 1 of room HAT234 is not free"}, Case{{4}, "Seat 4 of room"},
                          Case{{5}, "Seat 5 of room"}, Case{{2, 3}, "Seat 3 of room"}}) {
        const std::optional<Refusal> refused = room.join(JoinRequest{"Eve", std::nullopt, c.seats, {}}, tokens, t0).refusal;
        ASSERT_TRUE(refused) << c.named;
        EXPECT_EQ(refused->code, RefusalCode::SeatNotFree) << c.named;
        EXPECT_NE(refused->text.find(c.named), std::string::npos) << refused->text;
    }
    EXPECT_FALSE(room.begun());
    const JoinResult bob = room.join(JoinRequest{"Bob", std::nullopt, {2}, {"Bobby"}}, tokens, t0);
    ASSERT_TRUE(room.begun());
    const auto seats = room.seats();
    EXPECT_EQ(seats[0].name, "Ann");  // the maker's names, and the joiner's own
    EXPECT_EQ(seats[1].name, "Bobby");
    EXPECT_EQ(seats[2].name, "Cy");
    EXPECT_TRUE(seats[0].host && seats[2].host && !seats[1].host && !seats[3].host);  // the maker's seats only

    EXPECT_EQ(room.handToComputer(1, 2)->code, RefusalCode::SeatStillHere);
    room.leave(2, t0);
    EXPECT_EQ(room.handToComputer(2, 2)->code, RefusalCode::NotHost);
    EXPECT_EQ(room.handToComputer(3, 4)->code, RefusalCode::SeatNotFree);
    EXPECT_EQ(room.handToComputer(3, 9)->code, RefusalCode::SeatNotFree);
    EXPECT_EQ(room.handToComputer(1, 2), std::nullopt);
    EXPECT_EQ(room.seats()[1].presence, protocol::SeatPresence::Computer);
    EXPECT_EQ(room.join("Bob", bob.token, tokens, t0).refusal->code, RefusalCode::TokenHoldsNoSeat);
    // The host's token takes both its seats back at once.
    room.leave(1, t0);
    room.leave(3, t0);
    EXPECT_EQ(room.join("Host", host.token, tokens, t0).seats, (std::vector<int>{1, 3}));
    // Kept and brought back, the host stays the host.
    std::string error;
    const auto back = Room::fromText(room.roomText(), t0, &error, quickPlanner());
    ASSERT_NE(back, nullptr) << error;
    EXPECT_TRUE(back->seats()[2].host);

    // Once the host's hold runs out, a stranger in the seat is no host.
    const JoinResult cy = room.join(JoinRequest{"Cy", std::nullopt, {2}, {}}, tokens, t0);
    room.leave(1, t0);
    room.leave(3, t0);
    room.leave(2, t0 + kSeatHold - std::chrono::seconds(1));
    room.releaseExpiredHolds(t0 + kSeatHold);
    const JoinResult eve = room.join("Eve", std::nullopt, tokens, t0 + kSeatHold);
    EXPECT_EQ(eve.seat, 1);
    EXPECT_FALSE(room.seats()[0].host);
    EXPECT_FALSE(room.seats()[2].host);
    EXPECT_EQ(room.handToComputer(1, 2)->code, RefusalCode::NotHost);
    EXPECT_EQ(room.join("Cy", cy.token, tokens, t0 + kSeatHold).seat, 2);
}

TEST(Room, ComputerSeatsArePlayedByTheRoomAndNobodyShootsMeanwhile) {
    TokenSource tokens;
    EXPECT_NE(Room::setupRefusal(CreateRoom{{PlayerKind::Club}, true, {}, {}}), std::nullopt);
    EXPECT_NE(Room::setupRefusal(CreateRoom{{}, true, {}, {}}), std::nullopt);
    Room room("XYZ789", CreateRoom{{PlayerKind::Novice, H}, false, {}, {}}, quickPlanner());
    EXPECT_EQ(room.shoot(2, protocol::Shot{1, {}}).refusal->code, RefusalCode::GameNotBegun);
    EXPECT_EQ(room.join("Ann", std::nullopt, tokens, t0).seat, 2);
    ASSERT_TRUE(room.begun());
    test::RoomFollower mirror;
    ASSERT_TRUE(mirror.take(room.state()));
    EXPECT_EQ(room.seats()[0].presence, protocol::SeatPresence::Computer);

    std::optional<protocol::Accepted> played = room.pollComputer();  // starts planning
    EXPECT_FALSE(played);
    EXPECT_EQ(room.shoot(2, mirror.shotAlong(0, 10)).refusal->code, RefusalCode::ShotUnderWay);
    while (!played) played = room.pollComputer();
    EXPECT_EQ(played->shot.inputs.seat, 1);
    EXPECT_TRUE(mirror.follow(*played));
    EXPECT_FALSE(room.computerToPlay());
    EXPECT_FALSE(room.pollComputer());
}

}  // namespace
}  // namespace capzel::server
