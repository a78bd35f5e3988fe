// The window's pace for a run by elapsed time alone: advances due, fast forward, a stall, a stop for news.
#include <gtest/gtest.h>

#include <vector>

#include "controls/RunPacing.h"

using namespace capzel;

namespace {

// A shot of `steps` advances, each after `yields` yields; keeps the clock each advance read.
struct CountedShot final : SteppedRun {
    CountedShot(int steps, long yields, const RunDriver& d) : left(steps), each(yields), driver(d) {}
    int left;
    long each;
    const RunDriver& driver;
    std::vector<double> readAt;  // the clock each advance read
    bool running() const override { return left > 0; }
    long wait() const override { return each; }
    GameFlow advance() override {
        readAt.push_back(driver.clockSeconds());
        return --left == 0 ? GameFlow::Ended : GameFlow::Continues;
    }
    bool shotUnderWay() const override { return true; }
};

constexpr std::int64_t kYield = RunPacing::kYieldNanoseconds;

}  // namespace

TEST(RunPacing, AdvancesFallDueAtTheirDeadlinesAndFastEndsTheSameInAnEighth) {
    for (bool fast : {false, true}) {
        RunDriver d;
        d.pacing.fast = fast;
        CountedShot shot(40, 1000, d);
        const std::int64_t wait = 1000 * kYield / (fast ? RunPacing::kFastFactor : 1);
        d.start(shot);
        EXPECT_EQ(d.elapse(wait - 1, shot, {}).advances, 0) << "the first wait is timed from the start";
        EXPECT_EQ(d.elapse(1, shot, {}).advances, 1);
        EXPECT_DOUBLE_EQ(shot.readAt.back(), double(wait) / 1e9) << "the run reads its advance's deadline";
        // In stretches shorter than a wait, every advance comes at its own moment.
        PacedAdvances last;
        while (shot.running()) last = d.elapse(wait / 3, shot, {});
        EXPECT_TRUE(last.ended);
        ASSERT_EQ(shot.readAt.size(), 40u);
        for (std::size_t k = 0; k < 40; ++k) EXPECT_DOUBLE_EQ(shot.readAt[k], double((k + 1) * wait) / 1e9);
        EXPECT_FALSE(d.active());
    }
}

TEST(RunPacing, AStallDoesNotRaceAndNewsStopsTheRunUntilStarted) {
    RunDriver d;
    CountedShot shot(10, 100, d);
    d.start(shot);
    EXPECT_EQ(d.elapse(10 * RunPacing::kStallLimitNanoseconds, shot, {}).advances, 1) << "one advance, then afresh";
    EXPECT_EQ(d.elapse(100 * kYield - 1, shot, {}).advances, 0);
    int told = 0;
    const PacedAdvances news = d.elapse(10 * 100 * kYield, shot, [&] { return ++told == 2; });
    EXPECT_EQ(news.advances, 2);
    EXPECT_TRUE(news.news);
    EXPECT_FALSE(d.active());
    EXPECT_EQ(d.elapse(5 * 100 * kYield, shot, {}).advances, 0) << "once told, timed afresh from then";
    EXPECT_EQ(d.elapse(5 * 100 * kYield, shot, {}, 3).advances, 3) << "at most as many as asked, the rest later";
}
