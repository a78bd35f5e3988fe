#include "players/PlanJob.h"

#include <condition_variable>
#include <mutex>
#include <vector>

namespace capzel::players {

namespace {

// Joins the threads of dropped plans on a thread of its own. Each of them
// has been told to stop and ends within one trial shot; the reaper waits
// for them so that none is left running, and at the program's end it waits
// for the last ones before it goes.
class Reaper {
public:
    static Reaper& instance() {
        static Reaper reaper;
        return reaper;
    }

    void adopt(std::thread t) {
        {
            const std::lock_guard lock(mutex_);
            stopping_.push_back(std::move(t));
        }
        wake_.notify_one();
    }

    ~Reaper() {
        {
            const std::lock_guard lock(mutex_);
            closing_ = true;
        }
        wake_.notify_one();
        worker_.join();
    }

private:
    Reaper() : worker_([this] { run(); }) {}

    void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return closing_ || !stopping_.empty(); });
            if (stopping_.empty()) return;
            std::vector<std::thread> batch = std::move(stopping_);
            stopping_.clear();
            lock.unlock();
            for (std::thread& t : batch) t.join();
            lock.lock();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<std::thread> stopping_;
    bool closing_ = false;
    std::thread worker_;  // last, so that it starts with everything above in place
};

}  // namespace

PlanJob::PlanJob(const Game& g, PlayerKind level, std::uint64_t seed,
                 PlannerOptions options, std::function<void()> onReady)
    : plan_(std::make_shared<Plan>(g)) {
    plan_->onReady = std::move(onReady);
    // The reaper comes first, so that it outlives every job.
    Reaper::instance();
    options.cancel = &plan_->cancel;
    options.trialsPlayed = nullptr;  // the caller's counter may be gone before the thread
    thread_ = std::thread([plan = plan_, level, seed, options] {
        plan->result = planShot(plan->g, level, seed, options);
        plan->ready.store(true, std::memory_order_release);
        const std::lock_guard lock(plan->telling);
        if (plan->onReady) plan->onReady();
    });
}

PlanJob::~PlanJob() {
    {
        const std::lock_guard lock(plan_->telling);
        plan_->onReady = nullptr;
    }
    plan_->cancel.store(true);
    if (thread_.joinable()) Reaper::instance().adopt(std::move(thread_));
}

bool PlanJob::stillFits(const Game& g) const {
    const Game& then = plan_->g;
    if (g.gameRunning != then.gameRunning || g.currentTurn != then.currentTurn ||
        g.numberOfPlayers != then.numberOfPlayers || g.wallsOn != then.wallsOn)
        return false;
    for (int i = 1; i <= kMaxPlayers; ++i) {
        const Box& now = g.piece(i);
        const Box& before = then.piece(i);
        if (now.left != before.left || now.top != before.top || now.visible != before.visible) return false;
    }
    for (int i = 1; i <= g.numberOfPlayers && g.isPlayer(i); ++i) {
        if (g.seats[i].position != then.seats[i].position || g.seats[i].dead != then.seats[i].dead || g.seats[i].isKiller != then.seats[i].isKiller ||
            g.seats[i].friction != then.seats[i].friction || g.seats[i].inGame != then.seats[i].inGame)
            return false;
    }
    return true;
}

}  // namespace capzel::players
