#include "server/RoomKeeper.h"

#include <filesystem>

#include "platform/SafeWrite.h"

namespace capzel::server {

namespace fs = std::filesystem;

RoomKeeper::RoomKeeper(std::string folder, std::string suffix, std::function<void(const std::string&)> report)
    : folder_(std::move(folder)), suffix_(std::move(suffix)), report_(std::move(report)), worker_([this] { run(); }) {}

RoomKeeper::~RoomKeeper() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

std::string RoomKeeper::pathOf(const std::string& code) const { return folder_ + "/" + code + suffix_; }

std::string RoomKeeper::finishedPathOf(const std::string& code) const {
    return folder_ + "/finished/" + code + suffix_;
}

void RoomKeeper::keep(const std::string& code, std::string text) {
    {
        const std::lock_guard lock(mutex_);
        if (const auto waiting = waitingWrites_.find(code); waiting != waitingWrites_.end()) {
            waiting->second->text = std::move(text);
            return;
        }
        jobs_.push_back(Job{code, JobKind::Write, std::move(text)});
        waitingWrites_[code] = std::prev(jobs_.end());
    }
    wake_.notify_one();
}

void RoomKeeper::close(const std::string& code, bool keepFile) {
    {
        const std::lock_guard lock(mutex_);
        // A later text of a room of the same code starts a write of its own.
        waitingWrites_.erase(code);
        jobs_.push_back(Job{code, keepFile ? JobKind::Finish : JobKind::Remove, {}});
    }
    wake_.notify_one();
}

void RoomKeeper::flush() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

void RoomKeeper::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return closing_ || !jobs_.empty(); });
        if (jobs_.empty()) return;  // closing, and everything is done
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        if (job.kind == JobKind::Write) waitingWrites_.erase(job.code);
        busy_ = true;
        lock.unlock();
        carryOut(job);
        lock.lock();
        busy_ = false;
        if (jobs_.empty()) idle_.notify_all();
    }
}

void RoomKeeper::carryOut(const Job& job) {
    const std::string path = pathOf(job.code);
    std::error_code error;
    switch (job.kind) {
    case JobKind::Write:
        if (std::string why = writeFileSafely(path, job.text); !why.empty()) report_(why);
        return;
    case JobKind::Remove:
        fs::remove(path, error);
        break;
    case JobKind::Finish:
        fs::create_directories(folder_ + "/finished", error);
        if (!error) fs::rename(path, finishedPathOf(job.code), error);
        break;
    }
    if (error) report_("the room file " + path + " cannot be closed: " + error.message());
}

}  // namespace capzel::server
