// Players' programs in a room with no network, every message passed as the server passes it, through the
// wire's text: whatever each program plays or is shown, its game and its record are the room's.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <random>
#include <thread>

#include "match/RecordReplay.h"
#include "model/PowerBarScale.h"
#include "players/PlannedShot.h"
#include "protocol/Messages.h"
#include "server/Room.h"
#include "server/Tokens.h"
#include "session/HeadlessPlayer.h"

namespace capzel {
namespace {

using protocol::Message;

players::PlannerOptions quickPlanner() { return {.threads = 1, .directions = 8, .strengths = 4, .refineSeeds = 1}; }

// The server's part for one room: joins, shots and requests for the game, answered as the server does.
struct Hall {
    explicit Hall(const protocol::CreateRoom& setup) : room("HALL23", setup, quickPlanner()) {}

    server::TokenSource tokens;
    server::Room room;
    struct Program {
        std::unique_ptr<HeadlessPlayer> player;
        std::vector<int> seats;  // none: a spectator
    };
    std::vector<Program> programs;
    std::deque<std::pair<std::size_t, std::string>> sent;  // what the programs sent, in order
    int stateRequests = 0;

    HeadlessPlayer& player(std::size_t k) { return *programs[k].player; }

    void deliver(std::size_t k, const Message& m) { player(k).receive(protocol::decodeMessage(protocol::encodeMessage(m))); }
    void tellAll(const Message& m) { for (std::size_t k = 0; k < programs.size(); ++k) deliver(k, m); }
    std::size_t arrive() {
        const std::size_t k = programs.size();
        programs.push_back({std::make_unique<HeadlessPlayer>(
                                [this, k](const Message& m) { sent.emplace_back(k, protocol::encodeMessage(m)); }),
                            {}});
        return k;
    }
    void join(const std::string& name, bool maker) {
        const std::size_t k = arrive();
        const bool begunBefore = room.begun();
        const server::JoinResult joined =
            room.join(server::JoinRequest{name, std::nullopt, {}, {}, maker}, tokens, server::Clock::time_point{});
        ASSERT_EQ(joined.refusal, std::nullopt);
        programs[k].seats = joined.seats;
        const bool host = room.seatDetails()[std::size_t(joined.seat - 1)].host;
        deliver(k, protocol::Joined{room.code(), joined.seats, joined.token, host, room.seats()});
        tellAll(protocol::Seats{room.seats()});
        if (room.begun() && !begunBefore) tellAll(room.state());
        pump();
    }
    void watch() {
        const std::size_t k = arrive();
        deliver(k, protocol::Joined{room.code(), {}, {}, false, room.seats()});
        if (room.begun()) deliver(k, room.state());
        pump();
    }
    // Everything the programs sent, and what they send in answer.
    void pump() {
        while (!sent.empty()) {
            const auto [k, text] = sent.front();
            sent.pop_front();
            const protocol::Decoded m = protocol::decodeMessage(text);
            const std::vector<int>& seats = programs[k].seats;
            const int onTurn = room.seatOnTurn();
            const bool holdsTurn = std::find(seats.begin(), seats.end(), onTurn) != seats.end();
            if (const auto* shot = std::get_if<protocol::Shot>(&m)) {
                const server::ShotResult r = room.shoot(holdsTurn ? onTurn : seats.front(), *shot);
                if (r.refusal) deliver(k, protocol::Refused{r.refusal->code, r.refusal->text});
                else tellAll(r.accepted);
            } else if (std::holds_alternative<protocol::StateRequest>(m)) {
                ++stateRequests;
                deliver(k, room.state());
            }
        }
    }
    // The computer's seats, planned on their own thread, until a person is on turn.
    void playComputers() {
        while (room.computerToPlay()) {
            if (const auto played = room.pollComputer()) tellAll(*played);
            else std::this_thread::yield();
            pump();
        }
    }
};

TEST(OnlinePlayers, EveryProgramInTheRoomKeepsTheRoomsGameAndRecord) {
    for (unsigned seed : {3u, 8u}) {
        Hall hall(protocol::CreateRoom{{PlayerKind::Human, PlayerKind::Human, PlayerKind::Novice}, seed % 2 == 1, {}, {}});
        hall.watch();  // before the game begins
        hall.join("Ann", true);
        EXPECT_FALSE(hall.room.begun());
        hall.join("Bob", false);
        ASSERT_TRUE(hall.room.begun());
        EXPECT_EQ(hall.player(1).game().seat(1).name, "Ann");
        EXPECT_EQ(hall.player(0).game().seat(2).name, "Bob");

        std::mt19937 dice(seed);
        std::uniform_real_distribution<double> angle(-3.14159, 3.14159);
        std::uniform_int_distribution<int> ticks(1, maxBarTicks());
        std::vector<int> recordFrom(4, 0);  // the room's shot count where each program's record begins
        for (int turn = 0; turn < 40 && hall.room.running(); ++turn) {
            hall.playComputers();
            if (!hall.room.running()) break;
            // A spectator comes in midway; Ann's program is sent the room's game, as after a difference.
            if (turn == 6) recordFrom[3] = hall.room.shotCount(), hall.watch();
            if (turn == 9) recordFrom[1] = hall.room.shotCount(), hall.deliver(1, hall.room.state());
            std::size_t shooter = hall.programs.size();
            for (std::size_t k = 0; k < hall.programs.size(); ++k)
                if (hall.player(k).onTurn()) shooter = k;
            ASSERT_LT(shooter, hall.programs.size()) << "nobody is on turn at shot " << hall.room.shotCount() + 1;
            HeadlessPlayer& p = hall.player(shooter);
            const players::PlannedShot planned = players::shotAlong(p.game(), angle(dice), ticks(dice));
            ASSERT_EQ(p.shoot(players::plannedShotCommand(p.game(), planned)), std::nullopt);
            hall.pump();
            for (std::size_t k = 0; k < hall.programs.size(); ++k) {
                ASSERT_EQ(hall.player(k).shotsPlayed(), hall.room.shotCount()) << "program " << k;
                ASSERT_EQ(hall.player(k).game().hash(), hall.room.game().hash()) << "program " << k;
            }
        }
        ASSERT_GE(hall.room.shotCount(), 12);
        ASSERT_TRUE(recordFrom[1] > 0 && recordFrom[3] > 0);
        EXPECT_EQ(hall.stateRequests, 0);
        for (std::size_t k = 0; k < hall.programs.size(); ++k) {
            const HeadlessPlayer& p = hall.player(k);
            EXPECT_EQ(p.mismatches(), 0) << "program " << k;
            EXPECT_FALSE(p.online().awaitingState());
            const GameRecord& mine = p.session().record();
            const GameRecord& served = hall.room.record();
            EXPECT_TRUE(replayWholeRecord(*readGameRecord(writeGameRecord(mine), nullptr)).ok()) << "program " << k;
            EXPECT_EQ(mine.entries.size() + std::size_t(recordFrom[k]), served.entries.size()) << "program " << k;
            if (recordFrom[k]) continue;
            EXPECT_EQ(mine.startGame.hash(), served.startGame.hash()) << "program " << k;
            EXPECT_EQ(mine.start, served.start) << "program " << k << ": the first turn as the room began it";
            EXPECT_EQ(mine.entries, served.entries) << "program " << k;
        }
    }
}

}  // namespace
}  // namespace capzel
