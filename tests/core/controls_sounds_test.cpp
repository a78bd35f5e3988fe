// What a shot sounds like: which events sound and how loud, which go first, and the limit on sounds at once.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "controls/ShotSounds.h"
#include "support/FakePlatform.h"

namespace capzel {
namespace {

using K = ShotEventKind;
using E = SoundEffect;
using Heard = std::vector<std::pair<SoundEffect, int>>;

// Events reported, or the judging, at clock time `at`.
struct Moment { double at; ShotEvents events; bool newShot = false, judgedTarget = false, won = false; };

TEST(ShotSounds, EventsSoundByTheTable) {
    const float hard = kHardestHit, faint = kFaintestHit;
    auto hit = [](K kind, float strength) { return ShotEvent{kind, 1, 2, 0, strength}; };
    struct Case { const char* name; std::vector<Moment> moments; Heard expected; };
    const Case cases[] = {
        {"loudness: the square root of the strength, the faintest heard, 127 from the hardest on",
         {{0, {hit(K::Contact, hard / 4), hit(K::WallBounce, faint)}},
          {1, {hit(K::EdgeBounce, 2 * hard), hit(K::WallBounce, 0.9f * hard)}}},
         {{E::PieceHit, 64}, {E::WallHit, 12}, {E::EdgeHit, 127}, {E::WallHit, 120}}},
        {"silent: below the faintest, no number, a piece sent to the holder",
         {{0, {hit(K::Contact, faint * 0.99f), hit(K::EdgeBounce, std::nanf("")), {K::SentToHolder, 3}}}},
         {}},
        {"a kill sounds instead of its contact, as hard as a kill always is",
         {{0, {hit(K::Contact, faint), {K::Kill, 2, 1, 0, faint}}}},
         {{E::Kill, 127}}},
        {"at once: kills, then targets, then the loudest hits, three at most",
         {{0, {hit(K::Contact, hard / 4), hit(K::WallBounce, hard / 9), {K::SentToTarget, 5, 4},
               hit(K::EdgeBounce, hard), {K::Kill, 3, 1, 0, faint}}}},
         {{E::Kill, 127}, {E::Target, 100}, {E::EdgeHit, 127}}},
        {"events are heard once; a new shot hears its own from the start",
         {{0, {hit(K::Contact, hard)}}, {1, {}}, {2, {hit(K::Contact, hard / 4)}, true}},
         {{E::PieceHit, 127}, {E::PieceHit, 64}}},
        {"a window of 100 ms from the oldest of the three",
         {{0, {hit(K::Contact, hard)}},
          {0.05, {hit(K::Contact, hard), hit(K::Contact, hard)}},
          {0.0999, {hit(K::Contact, hard / 4)}},
          {0.1, {hit(K::Contact, hard / 4)}},
          {0.12, {hit(K::Contact, hard / 9)}},
          {0.16, {hit(K::Contact, hard / 9)}}},
         {{E::PieceHit, 127}, {E::PieceHit, 127}, {E::PieceHit, 127}, {E::PieceHit, 64}, {E::PieceHit, 42}}},
        {"a clock gone back at midnight starts afresh",
         {{86399.99, {hit(K::Contact, hard), hit(K::Contact, hard), hit(K::Contact, hard)}},
          {0.01, {hit(K::Contact, hard / 4)}}},
         {{E::PieceHit, 127}, {E::PieceHit, 127}, {E::PieceHit, 127}, {E::PieceHit, 64}}},
        {"the judging: the shooter's target within the limit, a win always",
         {{0, {hit(K::Contact, hard), hit(K::Contact, hard)}},
          {0, {}, false, true},
          {0, {}, false, true, true}},
         {{E::PieceHit, 127}, {E::PieceHit, 127}, {E::Target, 100}, {E::Win, 127}}},
    };
    for (const Case& c : cases) {
        test::FakePlatform ui;
        ShotSounds sounds(ui);
        ShotEvents shot;
        for (const Moment& m : c.moments) {
            ui.clockNow = m.at;
            if (m.newShot) shot.clear(), sounds.newShot();
            shot.insert(shot.end(), m.events.begin(), m.events.end());
            sounds.hear(shot);
            if (m.judgedTarget || m.won) sounds.judged(m.judgedTarget, m.won);
        }
        EXPECT_EQ(ui.sounds, c.expected) << c.name;
    }
}

}  // namespace
}  // namespace capzel
