// What a shot reports agrees with what it left in the game's tables.
#include <gtest/gtest.h>

#include <algorithm>

#include "DataRows.h"
#include "Scenario.h"
#include "engine/Shot.h"
#include "support/FakePlatform.h"

namespace capzel::scenarios {
namespace {

long count(const ShotEvents& events, ShotEventKind kind) {
    return std::count_if(events.begin(), events.end(), [kind](const ShotEvent& e) { return e.kind == kind; });
}

TEST(ShotEvents, EveryCorpusShotReportsItsContactsKillsAndSentPieces) {
    int shots = 0;
    for (const nlohmann::json& record : test::dataRows("scenarios.jsonl")) {
        test::Game t;
        const GameState& g = t.g;
        setUp(t.ctx, scenarioFromJson(record.at("in")));
        const GameState before = g;
        ShotEvents events;
        ShotOptions options;
        options.events = &events;
        if (shootPiece(t.ctx, options).unfinished) continue;
        ++shots;
        const std::string name = record.at("name");
        // The first twenty contacts are the hit log's pairs, in order.
        std::vector<std::pair<int, int>> contacts, logged;
        for (const ShotEvent& e : events)
            if (e.kind == ShotEventKind::Contact && contacts.size() < kHitLogSize) contacts.push_back({e.piece, e.other});
        for (int h = 1; h <= g.hitCount; ++h) logged.push_back({g.hitFirst[h], g.hitSecond[h]});
        if (count(events, ShotEventKind::Contact) <= kHitLogSize) EXPECT_EQ(contacts, logged) << name;
        EXPECT_EQ(count(events, ShotEventKind::Kill), g.killCount) << name;
        EXPECT_EQ(count(events, ShotEventKind::SentToTarget), g.sentCount) << name;
        for (const ShotEvent& e : events) {
            if (e.kind == ShotEventKind::Kill) EXPECT_TRUE(g.dead[e.piece] && !before.dead[e.piece]) << name;
            if (e.kind == ShotEventKind::SentToTarget) EXPECT_EQ(g.position[e.piece], e.other) << name;
            if (e.kind == ShotEventKind::SentToHolder) EXPECT_TRUE(g.dead[e.piece] && !g.inGame[e.piece]) << name;
        }
    }
    EXPECT_GE(shots, 300);
}

}  // namespace
}  // namespace capzel::scenarios
