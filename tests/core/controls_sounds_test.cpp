// The shot's sound effects: which events sound and how loud, the limit on
// sounds at once, and the recorded breaks of the corpus heard through the
// platform, without an audio device.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "Scenario.h"
#include "controls/ShotSounds.h"
#include "rules/ShotJudging.h"
#include "support/FakePlatform.h"
#include "support/RunDriver.h"

namespace capzel {
namespace {

using Heard = std::vector<std::pair<SoundEffect, int>>;

Heard heard(const test::FakePlatform& ui) {
    Heard out;
    for (const auto& s : ui.sounds) out.emplace_back(s.effect, s.loudness);
    return out;
}

// Any refused start had kMostSounds admitted within the window before it,
// and no admitted start had as many: over random clocks, with ties and a
// clock that goes back at midnight.
TEST(ShotSounds, LimiterAdmitsAllItMayAndNoMore) {
    std::mt19937 random(7);
    for (int run = 0; run < 200; ++run) {
        SoundLimiter limiter;
        std::vector<double> admitted;
        double now = 86399.5;
        for (int k = 0; k < 40; ++k) {
            now += std::uniform_int_distribution<int>(0, 4)(random) * 0.025;
            if (now >= 86400) now -= 86400, admitted.clear();
            int recent = 0;
            for (double t : admitted)
                if (now - t < SoundLimiter::kWindowSeconds) ++recent;
            const bool expected = recent < SoundLimiter::kMostSounds;
            ASSERT_EQ(limiter.admit(now), expected) << run << " at " << now;
            if (expected) admitted.push_back(now);
        }
    }
}

// Louder for harder hits; silent below the faintest; never past 127.
TEST(ShotSounds, LoudnessGrowsWithTheHit) {
    int last = 0;
    for (float s = 0; s < 2 * kHardestHit; s += 0.01f) {
        const int loud = hitLoudness(s);
        EXPECT_GE(loud, last) << s;
        EXPECT_EQ(loud == 0, s < kFaintestHit) << s;
        EXPECT_LE(loud, 127);
        last = loud;
    }
    EXPECT_GT(hitLoudness(kFaintestHit), 0);
    EXPECT_EQ(hitLoudness(kHardestHit), 127);
    EXPECT_LT(hitLoudness(kHardestHit * 0.9f), 127);
    EXPECT_EQ(hitLoudness(std::nanf("")), 0);
}

// What each shot's events sound like when they come at once.
TEST(ShotSounds, EventsSoundAsTheyShould) {
    using K = ShotEventKind;
    using E = SoundEffect;
    const float hard = kHardestHit, faint = kFaintestHit / 2;
    struct Case {
        const char* name;
        ShotEvents events;
        Heard expected;
    };
    const Case cases[] = {
        {"a hard contact", {{K::Contact, 1, 2, hard}}, {{E::PieceHit, 127}}},
        {"a kill instead of its contact", {{K::Contact, 1, 2, hard}, {K::Kill, 2, 1, hard}}, {{E::Kill, 127}}},
        {"faint bounces are silent", {{K::WallBounce, 1, 0, faint}, {K::EdgeBounce, 1, 0, faint}, {K::Contact, 1, 2, faint}}, {}},
        {"wall and edge", {{K::WallBounce, 1, 0, hard / 4}, {K::EdgeBounce, 2, 0, hard}}, {{E::EdgeHit, 127}, {E::WallHit, 64}}},
        {"the holder is silent", {{K::SentToHolder, 3}}, {}},
        {"targets first, then the loudest hits",
         {{K::Contact, 1, 2, hard / 4}, {K::WallBounce, 3, 0, hard / 9}, {K::EdgeBounce, 4, 0, hard}, {K::SentToTarget, 5, 4}},
         {{E::Target, 100}, {E::EdgeHit, 127}, {E::PieceHit, 64}}},
        {"kills before targets",
         {{K::SentToTarget, 5, 4}, {K::Kill, 2, 1, faint}, {K::SentToTarget, 6, 4}, {K::Kill, 3, 1, faint}},
         {{E::Kill, 127}, {E::Kill, 127}, {E::Target, 100}}},
    };
    for (const Case& c : cases) {
        test::FakePlatform ui;
        ShotSounds sounds(ui);
        sounds.hear(c.events);
        sounds.hear(c.events);  // heard once only
        EXPECT_EQ(heard(ui), c.expected) << c.name;
    }
}

// The judging's target sounds within the limit; a win always sounds.
TEST(ShotSounds, JudgingSoundsTargetAndWin) {
    test::FakePlatform ui;
    ShotSounds sounds(ui);
    sounds.hear({{ShotEventKind::Contact, 1, 2, kHardestHit / 4}, {ShotEventKind::Contact, 1, 3, kHardestHit / 4}});
    sounds.judged(true, false);
    sounds.judged(true, true);
    EXPECT_EQ(heard(ui), (Heard{{SoundEffect::PieceHit, 64}, {SoundEffect::PieceHit, 64}, {SoundEffect::Target, 100},
                                {SoundEffect::Win, 127}}));
    sounds.newShot();
    ui.clockNow = 1;
    sounds.hear({{ShotEventKind::Kill, 2, 1}});
    EXPECT_EQ(ui.sounds.back().effect, SoundEffect::Kill);
}

// The target sound agrees with the rules: over the corpus, the shooter is
// in its target exactly when the judging says it reached it (or says only
// that it became a killer).
TEST(ShotSounds, TargetSoundAgreesWithTheJudging) {
    std::ifstream in(std::string(CAPZEL_TEST_DATA) + "/scenarios.jsonl");
    std::string line;
    std::array<int, 2> seen{};
    while (std::getline(in, line)) {
        GameState g;
        Field field;
        test::FakePlatform ui;
        GameContext ctx{g, field, ui};
        scenarios::setUp(ctx, scenarios::scenarioFromJson(nlohmann::json::parse(line).at("in")));
        if (shootPiece(ctx).unfinished) continue;
        const bool inTarget = shooterInTarget(ctx);
        // Becoming a killer is told alone, whatever brought the shooter there.
        bool reached = false, killer = false;
        for (const Announcement& a : judgeFinishedShot(ctx).announcements) {
            killer = killer || a.text.find("became a killer") != std::string::npos;
            reached = reached || (a.text.find(" reached target ") != std::string::npos && !killer);
        }
        EXPECT_EQ(inTarget, reached || (killer && inTarget)) << nlohmann::json::parse(line).at("name");
        ++seen[inTarget];
    }
    EXPECT_GE(seen[0], 50);
    EXPECT_GE(seen[1], 50);
}

// The corpus's breaks of eight pieces, played as the window plays them: at
// the window's pace no 100 ms holds more than three sounds, yet hits after
// the first 100 ms are heard; with the clock standing still the whole break
// is at most three.
TEST(ShotSounds, RecordedBreaksStayWithinTheLimit) {
    std::ifstream in(std::string(CAPZEL_TEST_DATA) + "/scenarios.jsonl");
    std::string line;
    int breaks = 0;
    std::size_t paced = 0, still = 0;
    while (std::getline(in, line)) {
        const nlohmann::json j = nlohmann::json::parse(line);
        const std::string name = j.at("name");
        if (name.rfind("cluster", 0) != 0) continue;
        std::array<std::size_t, 2> count{};
        for (const bool standing : {false, true}) {
            GameState g;
            Field field;
            test::FakePlatform ui;
            ui.secondsPerYield = standing ? 0 : 1e-6;
            GameContext ctx{g, field, ui};
            scenarios::setUp(ctx, scenarios::scenarioFromJson(j.at("in")));
            TurnController turn(ctx);
            const auto power = g.power;
            turn.startShot();
            test::drive(turn, ui);
            // Taken back and played again later: heard again, alike.
            const std::vector<test::FakePlatform::Sound> first = ui.sounds;
            ASSERT_TRUE(turn.undo()) << name;
            ui.clockNow += 1;
            g.power = power;
            turn.startShot();
            test::drive(turn, ui);
            ASSERT_EQ(ui.sounds.size(), 2 * first.size()) << name;
            for (std::size_t k = 0; k < first.size(); ++k)
                EXPECT_EQ(ui.sounds[first.size() + k].effect, first[k].effect) << name;
            ui.sounds.resize(first.size());
            long audible = 0;
            for (const ShotEvent& e : turn.shotEvents()) audible += hitLoudness(e.strength) > 0;
            EXPECT_LE(long(ui.sounds.size()), audible + 2) << name;  // a target and a win beside the hits
            for (std::size_t k = 3; k < ui.sounds.size(); ++k)
                EXPECT_GE(ui.sounds[k].at - ui.sounds[k - 3].at, SoundLimiter::kWindowSeconds) << name;
            count[standing] = ui.sounds.size();
        }
        EXPECT_EQ(count[1], std::min<std::size_t>(count[0], SoundLimiter::kMostSounds)) << name;
        paced += count[0];
        still += count[1];
        ++breaks;
    }
    EXPECT_GE(breaks, 10);
    EXPECT_GT(paced, still + std::size_t(breaks));
}

}  // namespace
}  // namespace capzel
