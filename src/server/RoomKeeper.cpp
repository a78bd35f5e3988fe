#include "server/RoomKeeper.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/SafeWrite.h"

namespace capzel::server {

namespace fs = std::filesystem;

namespace {

// Past this many files to sync at once, one sync of their file system costs
// less than a sync of each.
constexpr std::size_t kFilesSyncedOneByOne = 4;

std::string lastError() { return std::strerror(errno); }

}  // namespace

RoomKeeper::RoomKeeper(std::string folder, std::string suffix, Report report, std::chrono::milliseconds syncGroup)
    : folder_(std::move(folder)), suffix_(std::move(suffix)), report_(std::move(report)), syncGroup_(syncGroup),
      worker_([this] { run(); }) {}

RoomKeeper::~RoomKeeper() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    wake_.notify_one();
    worker_.join();
    for (auto& [code, file] : files_)
        if (file.fd >= 0) ::close(file.fd);
}

std::string RoomKeeper::pathOf(const std::string& code) const { return folder_ + "/" + code + suffix_; }

std::string RoomKeeper::finishedPathOf(const std::string& code) const {
    return folder_ + "/finished/" + code + suffix_;
}

void RoomKeeper::write(const std::string& code, std::string text, std::size_t tailBytes) {
    {
        const std::lock_guard lock(mutex_);
        Job job{code, JobKind::Write, std::move(text), tailBytes, {}, false};
        if (const auto waiting = waiting_.find(code); waiting != waiting_.end()) {
            *waiting->second = std::move(job);  // the whole text holds what was to be added
            return;
        }
        jobs_.push_back(std::move(job));
        waiting_[code] = std::prev(jobs_.end());
    }
    wake_.notify_one();
}

void RoomKeeper::append(const std::string& code, std::string lines, std::string tail) {
    {
        const std::lock_guard lock(mutex_);
        if (const auto waiting = waiting_.find(code); waiting != waiting_.end()) {
            Job& job = *waiting->second;
            if (job.kind == JobKind::Write) {
                job.text.resize(job.text.size() - job.tailBytes);
                job.text += lines;
                job.text += tail;
                job.tailBytes = tail.size();
            } else {
                job.text += lines;
                job.tail = std::move(tail);
            }
            return;
        }
        jobs_.push_back(Job{code, JobKind::Append, std::move(lines), 0, std::move(tail), false});
        waiting_[code] = std::prev(jobs_.end());
    }
    wake_.notify_one();
}

void RoomKeeper::close(const std::string& code, std::optional<std::string> finished) {
    {
        const std::lock_guard lock(mutex_);
        // A later text of a room of the same code starts a file of its own.
        waiting_.erase(code);
        jobs_.push_back(Job{code, JobKind::Close, finished.value_or(std::string()), 0, {}, finished.has_value()});
    }
    wake_.notify_one();
}

void RoomKeeper::flush() {
    std::unique_lock lock(mutex_);
    ++flushes_;
    wake_.notify_one();
    idle_.wait(lock, [this] { return jobs_.empty() && !busy_ && !unsynced_; });
    --flushes_;
}

void RoomKeeper::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        const auto due = dirtySince_ + syncGroup_;
        const auto ready = [this] { return closing_ || !jobs_.empty() || (unsynced_ && flushes_ > 0); };
        if (unsynced_)
            wake_.wait_until(lock, due, ready);
        else
            wake_.wait(lock, ready);
        std::list<Job> batch;
        batch.swap(jobs_);
        waiting_.clear();
        const bool syncNow = unsynced_ && (closing_ || flushes_ > 0 || Clock::now() >= due);
        if (batch.empty() && !syncNow) {
            if (closing_ && !unsynced_) return;
            continue;
        }
        busy_ = true;
        lock.unlock();
        for (Job& job : batch) carryOut(job);
        const bool addedNow = !dirty_.empty();
        lock.lock();
        if (addedNow && !unsynced_) dirtySince_ = Clock::now();
        unsynced_ = addedNow;
        if (unsynced_ && (closing_ || flushes_ > 0 || Clock::now() >= dirtySince_ + syncGroup_)) {
            lock.unlock();
            syncDirty();
            lock.lock();
            unsynced_ = false;
        }
        busy_ = false;
        if (jobs_.empty() && !unsynced_) idle_.notify_all();
    }
}

void RoomKeeper::carryOut(Job& job) {
    LiveFile& file = files_[job.code];
    switch (job.kind) {
    case JobKind::Write: return writeWhole(job, file);
    case JobKind::Append: return addLines(job, file);
    case JobKind::Close: return finish(job);
    }
}

void RoomKeeper::fail(const std::string& code, LiveFile& file, const std::string& what) {
    if (file.fd >= 0) ::close(file.fd);
    file = LiveFile{};
    file.broken = true;
    dirty_.erase(code);
    report_(code, what);
}

void RoomKeeper::writeWhole(const Job& job, LiveFile& file) {
    if (file.fd >= 0) ::close(file.fd);
    file = LiveFile{};
    dirty_.erase(job.code);
    const std::string path = pathOf(job.code);
    if (std::string why = writeFileSafely(path, job.text); !why.empty()) return fail(job.code, file, why);
    file.fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (file.fd < 0) return fail(job.code, file, "the room file " + path + " cannot be opened: " + lastError());
    file.size = job.text.size();
    file.tailBytes = std::min(job.tailBytes, file.size);
}

// The lines and the new tail in one write where the old tail began. A tail
// shorter than the old one is padded with blanks (JSON lets a text end with
// them), so that the file is never cut: a write stopped half-way by a kill
// never leaves an old tail's end behind a new one.
void RoomKeeper::addLines(const Job& job, LiveFile& file) {
    if (file.broken || file.fd < 0) return;
    std::string bytes = job.text + job.tail;
    if (bytes.size() < file.tailBytes && !bytes.empty() && bytes.back() == '\n')
        bytes.insert(bytes.size() - 1, file.tailBytes - bytes.size(), ' ');
    const std::size_t at = file.size - file.tailBytes;
    if (!writeAllAt(file.fd, bytes, at))
        return fail(job.code, file, "the room file " + pathOf(job.code) + " could not be written: " + lastError());
    file.size = at + bytes.size();
    file.tailBytes = bytes.size() - job.text.size();
    dirty_.insert(job.code);
}

void RoomKeeper::finish(const Job& job) {
    if (auto it = files_.find(job.code); it != files_.end()) {
        if (it->second.fd >= 0) ::close(it->second.fd);
        files_.erase(it);
    }
    dirty_.erase(job.code);
    const std::string path = pathOf(job.code);
    std::error_code error;
    if (job.keep) {
        fs::create_directories(folder_ + "/finished", error);
        const std::string why = error ? error.message() : writeFileSafely(finishedPathOf(job.code), job.text);
        if (!why.empty()) {
            // The live file stays: the room is not lost, only not finished.
            report_(job.code, "the room file " + path + " cannot be closed: " + why);
            return;
        }
    }
    fs::remove(path, error);
    if (error) report_(job.code, "the room file " + path + " cannot be removed: " + error.message());
}

void RoomKeeper::syncDirty() {
    std::unordered_set<std::string> dirty;
    dirty.swap(dirty_);
#ifdef __linux__
    if (dirty.size() > kFilesSyncedOneByOne) {
        const int fd = files_[*dirty.begin()].fd;
        if (::syncfs(fd) == 0) return;
    }
#endif
    for (const std::string& code : dirty) {
        LiveFile& file = files_[code];
        if (file.fd >= 0 && ::fdatasync(file.fd) != 0)
            fail(code, file, "the room file " + pathOf(code) + " could not be synced: " + lastError());
    }
}

}  // namespace capzel::server
