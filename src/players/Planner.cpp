#include "players/Planner.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <numeric>
#include <thread>
#include <vector>

#include "engine/Launch.h"
#include "model/Game.h"
#include "platform/SilentPlatform.h"
#include "players/Outcome.h"
#include "players/Random.h"

namespace capzel::players {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kFailed = -std::numeric_limits<double>::infinity();

struct Candidate {
    double angle;
    int ticks;
};

// Trial runs say nothing to anybody.
class QuietPlatform final : public SilentPlatform {
public:
    void message(std::string_view) override {}
};

// The game every trial starts from: only the game's own values as they
// stand, on a field as laid out (Game::canonical), so every search starts
// from the same value whatever the window or the clock left beside it.
struct Start {
    Game g;
    explicit Start(const Game& game) : g(game.canonical()) {}
};

// One thread's copy of the game on which candidates are played one by one.
class Trial {
public:
    Trial(const Start& start, long maxCycles) : start_(start), g_(start.g), maxCycles_(maxCycles) {}

    double judge(const Candidate& c) {
        g_ = start_.g;
        const PlannedShot shot = shotAlong(start_.g, c.angle, c.ticks);
        if (!playShot(ctx_, shot, maxCycles_)) return kFailed;
        return outcomeValue(start_.g, g_, start_.g.currentTurn);
    }

private:
    const Start& start_;
    Game g_;
    QuietPlatform ui_;
    GameContext ctx_{g_, ui_};
    long maxCycles_;
};

bool cancelled(const PlannerOptions& options) { return options.cancel != nullptr && options.cancel->load(); }

// Judges candidates [from, end) into values, spread over `threads` threads,
// and tells how many it judged. Each value depends only on its candidate,
// so the split does not matter. A thread looks at the cancel flag before
// every trial, so a cancelled search ends within one trial shot per thread.
std::size_t judgeAll(const Start& start, const std::vector<Candidate>& cands, std::size_t from,
                     std::vector<double>& values, int threads, const PlannerOptions& options) {
    values.resize(cands.size(), kFailed);
    std::atomic<std::size_t> next{from};
    std::atomic<std::size_t> judged{0};
    const auto work = [&] {
        Trial trial(start, options.maxCycles);
        while (!cancelled(options)) {
            const std::size_t i = next.fetch_add(1, std::memory_order_relaxed);
            if (i >= cands.size()) return;
            values[i] = trial.judge(cands[i]);
            judged.fetch_add(1, std::memory_order_relaxed);
            if (options.trialsPlayed != nullptr) options.trialsPlayed->fetch_add(1);
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
    return judged.load();
}

// Candidate indices from best to worst; equal values in the order judged.
std::vector<std::size_t> ranking(const std::vector<double>& values) {
    std::vector<std::size_t> order(values.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return values[a] > values[b]; });
    return order;
}

class Search {
public:
    Search(const Game& g, const PlannerOptions& o) : start_(g), options_(o), board_(start_.g.board) {
        threads_ = o.threads > 0 ? o.threads : int(std::max(1u, std::thread::hardware_concurrency()));
        angleStep_ = 2 * kPi / std::max(1, o.directions);
        buildStrengths();
    }

    void run() {
        for (int d = 0; d < options_.directions; ++d)
            for (int k : strengths_) cands_.push_back({angleStep_ * d, k});
        judgeNew();
        refine(options_.refineSeeds, 3.0);
        refine(std::max(1, options_.refineSeeds / 2), 9.0);
        order_ = ranking(values_);
    }

    // Judges candidates outside the search's own list.
    std::vector<double> judgeMore(const std::vector<Candidate>& extra) {
        std::vector<double> values;
        judged_ += judgeAll(start_, extra, 0, values, threads_, options_);
        return values;
    }

    std::size_t judged() const { return judged_; }
    const Candidate& best() const { return cands_[order_.front()]; }
    double bestValue() const { return values_[order_.front()]; }

    const Candidate& candidate(std::size_t i) const { return cands_[i]; }

    // Up to `count` of the best outcomes, best first, each unlike those
    // before it (not within one step of the coarse grid).
    std::vector<std::size_t> distinctBest(int count) const {
        std::vector<std::size_t> picked;
        for (std::size_t i : ranking(values_)) {
            if (int(picked.size()) >= count || values_[i] == kFailed) break;
            const Candidate& c = cands_[i];
            const bool near = std::any_of(picked.begin(), picked.end(), [&](std::size_t j) {
                const Candidate& o = cands_[j];
                const double da = std::fabs(std::remainder(c.angle - o.angle, 2 * kPi));
                return da < 1.5 * angleStep_ && std::abs(c.ticks - o.ticks) <= tickSpacing(o.ticks);
            });
            if (!near) picked.push_back(i);
        }
        return picked;
    }

    // Ticks between neighbouring strengths of the coarse grid near `ticks`.
    int tickSpacing(int ticks) const {
        const double p = barStrength(board_, ticks);
        const double dp = p * (std::pow(strengthRatio_, 1 / 2.6) - 1);
        return std::max(1, int(std::lround(dp / 10)));
    }

private:
    Start start_;
    PlannerOptions options_;
    const Board& board_;
    int threads_ = 1;
    double angleStep_ = 0;
    double strengthRatio_ = 1;
    std::vector<int> strengths_;
    std::vector<Candidate> cands_;
    std::vector<double> values_;
    std::vector<std::size_t> order_;
    std::size_t judged_ = 0;  // trial shots played

    // Coarse strengths spaced evenly on the curve that turns the bar's
    // strength into speed, so that short and long shots are tried alike.
    void buildStrengths() {
        const int last = maxBarTicks();
        const int n = std::max(2, options_.strengths);
        const double lo = std::max(1, int(engine::strengthCurve(barStrength(board_, 1))));
        const double hi = std::max(lo + 1, double(engine::strengthCurve(barStrength(board_, last))));
        strengthRatio_ = std::pow(hi / lo, 1.0 / (n - 1));
        int tick = 1;
        for (int j = 0; j < n; ++j) {
            const double wanted = lo * std::pow(strengthRatio_, j);
            while (tick < last && engine::strengthCurve(barStrength(board_, tick)) < wanted) ++tick;
            if (strengths_.empty() || strengths_.back() != tick) strengths_.push_back(tick);
        }
    }

    void judgeNew() {
        const std::size_t from = values_.size();
        judged_ += judgeAll(start_, cands_, from, values_, threads_, options_);
    }

    // A finer grid of 5 x 5 around each of the `seeds` best outcomes, at
    // 1/`fineness` of the coarse spacing.
    void refine(int seeds, double fineness) {
        const int last = maxBarTicks();
        for (std::size_t i : distinctBest(seeds)) {
            const Candidate c = cands_[i];
            const double da = angleStep_ / fineness;
            const int dk = std::max(1, int(std::lround(tickSpacing(c.ticks) / fineness)));
            for (int a = -2; a <= 2; ++a)
                for (int b = -2; b <= 2; ++b)
                    if (a != 0 || b != 0) cands_.push_back({c.angle + a * da, std::clamp(c.ticks + b * dk, 1, last)});
        }
        judgeNew();
    }
};

// How a person at a level misses: the direction and the bar's strength off
// by a normal spread (a standard deviation in degrees, and as a share of the
// strength). The spreads are set by the share of shots at the target that
// land in it alone on the field: about 30 % (Novice), 55 % (Club) and 75 %
// (Strong); Expert does not miss.
struct Miss {
    double angleDegrees;   // spread of the direction
    double strengthShare;  // spread of the bar strength, as a share of it
};

constexpr int kChoices = 12;      // good shots a missing player weighs
constexpr int kMissTrials = 12;   // misses tried for each of them

Miss missOf(PlayerKind level) {
    switch (level) {
    case PlayerKind::Novice: return {4.0, 0.10};
    case PlayerKind::Club: return {1.0, 0.03};
    case PlayerKind::Strong: return {0.4, 0.012};
    default: return {0, 0};
    }
}

Candidate missed(const Board& board, const Candidate& c, const Miss& m, Random& rng) {
    const double angle = c.angle + rng.gaussian() * m.angleDegrees * kPi / 180;
    const double strength = barStrength(board, c.ticks) * (1 + rng.gaussian() * m.strengthShare);
    const int ticks = 1 + int(std::lround((strength - barStrength(board, 1)) / kBarTick));
    return {angle, std::clamp(ticks, 1, maxBarTicks())};
}

bool canPlan(const Game& g) { return g.gameRunning && g.isPlayer(g.currentTurn) && !g.seats[g.currentTurn].dead; }

}  // namespace

PlanResult planShot(const Game& g, PlayerKind level, std::uint64_t seed,
                    const PlannerOptions& options) {
    PlanResult result;
    if (!canPlan(g)) {
        result.shot = result.intended = shotAlong(g, -kPi / 2, 1);
        return result;
    }
    Search search(g, options);
    search.run();
    Random rng(seed);
    const Miss miss = missOf(level);
    Candidate chosen = search.best();
    result.value = search.bestValue();
    if (miss.angleDegrees > 0 || miss.strengthShare > 0) {
        // A player who misses weighs the good shots by how they turn out
        // when missed as that player misses, and aims for the best of them.
        const std::vector<std::size_t> good = search.distinctBest(kChoices);
        std::vector<Candidate> trials;
        for (std::size_t i : good)
            for (int t = 0; t < kMissTrials; ++t) trials.push_back(missed(g.board, search.candidate(i), miss, rng));
        const std::vector<double> values = search.judgeMore(trials);
        double bestMean = -std::numeric_limits<double>::infinity();
        for (std::size_t k = 0; k < good.size(); ++k) {
            double sum = 0;
            for (int t = 0; t < kMissTrials; ++t) sum += std::max(values[k * kMissTrials + std::size_t(t)], -1e3);
            const double mean = sum / kMissTrials;
            if (mean > bestMean) {
                bestMean = mean;
                chosen = search.candidate(good[k]);
                result.value = mean;
            }
        }
    }
    result.candidatesJudged = long(search.judged());
    result.intended = shotAlong(g, chosen.angle, chosen.ticks);
    result.shot = result.intended;
    if (miss.angleDegrees > 0 || miss.strengthShare > 0) {
        const Candidate played = missed(g.board, chosen, miss, rng);
        result.shot = shotAlong(g, played.angle, played.ticks);
    }
    return result;
}

int levelTargetPercent(PlayerKind level) {
    switch (level) {
    case PlayerKind::Novice: return 30;
    case PlayerKind::Club: return 55;
    case PlayerKind::Strong: return 74;
    case PlayerKind::Expert: return 100;
    case PlayerKind::Human: break;
    }
    return 0;
}

PlannedShot randomShot(const Game& g, std::uint64_t seed) {
    Random rng(seed);
    const double angle = rng.uniform() * 2 * kPi;
    return shotAlong(g, angle, rng.between(1, maxBarTicks()));
}

}  // namespace capzel::players
