// What a shot reports agrees with what it left in the game's tables.
#include <gtest/gtest.h>

#include <algorithm>

#include "DataRows.h"
#include "Scenario.h"
#include "engine/ContactPass.h"
#include "engine/Shot.h"
#include "match/Match.h"
#include "platform/SilentPlatform.h"

namespace capzel::scenarios {
namespace {

long count(const ShotEvents& events, ShotEventKind kind) {
    return std::count_if(events.begin(), events.end(), [kind](const ShotEvent& e) { return e.kind == kind; });
}

TEST(ShotEvents, EveryCorpusShotReportsItsContactsKillsAndSentPieces) {
    int shots = 0, bounces = 0, edges = 0;
    for (const nlohmann::json& record : test::dataRows("scenarios.jsonl")) {
        const std::string name = record.at("name");
        // Without reports, and with the plain passes: the reports change nothing, both passes report alike.
        const Scenario scenario = scenarioFromJson(record.at("in"));
        Game before;
        setUp(before, scenario);
        auto play = [&](Game& g, ShotEvents* events, bool plainPasses) {
            g = gameAtLaunch(before, scenarioShot(before, scenario));
            SilentPlatform ui;
            GameContext ctx{g, ui};
            const ShotResult r = shootPiece(ctx, std::int16_t(scenario.power), {.plainPasses = plainPasses, .events = events});
            return std::pair{r.unfinished, outcome(g, r, 0, 0, {}, 0)};
        };
        Game g, silent, plain;
        ShotEvents events, plainEvents;
        const auto played = play(g, &events, false);
        EXPECT_EQ(played, play(silent, nullptr, false)) << name;
        EXPECT_EQ(played, play(plain, &plainEvents, true)) << name;
        EXPECT_EQ(events, plainEvents) << name;
        if (played.first) continue;
        ++shots;
        // The first twenty contacts are the hit log's pairs, in order.
        std::vector<std::pair<int, int>> contacts, logged;
        for (const ShotEvent& e : events)
            if (e.kind == ShotEventKind::Contact && contacts.size() < kHitLogSize) contacts.push_back({e.piece, e.other});
        for (int h = 1; h <= g.hitCount; ++h) logged.push_back({g.hitFirst[h], g.hitSecond[h]});
        if (count(events, ShotEventKind::Contact) <= kHitLogSize) { EXPECT_EQ(contacts, logged) << name; }
        EXPECT_EQ(count(events, ShotEventKind::Kill), g.killCount) << name;
        EXPECT_EQ(count(events, ShotEventKind::SentToTarget), g.sentCount) << name;
        for (const ShotEvent& e : events) {
            const Seat& seat = g.seats[e.piece];
            const bool holds = e.kind == ShotEventKind::Kill           ? seat.dead && !before.seats[e.piece].dead
                               : e.kind == ShotEventKind::SentToTarget ? seat.position == e.other
                               : e.kind == ShotEventKind::SentToHolder ? seat.dead && !seat.inGame
                               : e.kind == ShotEventKind::WallBounce   ? g.wallsOn
                                                                        : true;
            EXPECT_TRUE(holds) << name << ": event " << int(e.kind) << " of piece " << e.piece;
            const bool hit = e.kind == ShotEventKind::Contact || e.kind == ShotEventKind::Kill ||
                             e.kind == ShotEventKind::WallBounce || e.kind == ShotEventKind::EdgeBounce;
            EXPECT_EQ(hit, e.strength > 0) << name;
        }
        bounces += count(events, ShotEventKind::WallBounce) > 0;
        edges += count(events, ShotEventKind::EdgeBounce) > 0;
    }
    EXPECT_TRUE(shots >= 300 && bounces >= 100 && edges >= 100) << shots << " shots, " << bounces << " bounces, " << edges;
}

// A contact's strength is the closing speed: head-on the speeds add, catching up their difference.
TEST(ShotEvents, ContactStrengthIsTheClosingSpeed) {
    struct Case { float vi, vj, strength; };
    for (const Case& c : {Case{3, -4, 7}, Case{3, 1, 2}, Case{0, -5, 5}}) {
        Game g;
        SilentPlatform ui;
        ShotEvents events;
        GameContext ctx{g, ui, &events};
        g.numberOfPlayers = 2, g.currentTurn = 1;
        g.seats[1].inGame = g.seats[2].inGame = true;
        g.piece(1) = {.left = 1000, .top = 1000, .width = 300, .height = 300};
        g.piece(2) = {.left = 1250, .top = 1000, .width = 300, .height = 300};
        g.velocityX[1] = c.vi, g.velocityX[2] = c.vj;
        ASSERT_TRUE(engine::contactPass(ctx, 1, true, engine::inGameMask(ctx.game)));
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].strength, c.strength) << c.vi << " " << c.vj;
    }
}

}  // namespace
}  // namespace capzel::scenarios
