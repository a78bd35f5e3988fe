// Keeps the rooms' files on a thread of its own, so that the server never
// waits for the disk between a shot and its broadcast.
//
// A room's file is written whole when the room is made or its game begins
// (through platform/SafeWrite.h: a temporary file, synced and renamed), and
// from then on each shot only adds its line: the file ends with a short
// tail (the closing brackets and the seats), and a line goes where the tail
// was, followed by the tail again, in one write. So a shot costs the same at
// shot 2,000 as at shot 2. The lines added are synced in groups, at most
// `syncGroup` after they were asked for: several rooms' lines share a sync.
// When a room closes, its file is written again compactly into finished/
// (or removed), and its live file goes.
//
// What happens to one room's file happens in the order asked; asks that
// wait are merged (a whole text takes in the lines added after it), so the
// queue never holds more than one waiting write a room. flush() returns once
// everything asked is on the disk.
//
// Standard C++ and POSIX files only.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>

namespace capzel::server {

class RoomKeeper {
public:
    // Told on the writer's thread what could not be written, moved or synced,
    // with the room's code: that room's file is not added to any more until
    // it is written whole again.
    using Report = std::function<void(const std::string& code, const std::string& what)>;

    // Files go to `<folder>/<code><suffix>`; finished ones to
    // `<folder>/finished/`.
    RoomKeeper(std::string folder, std::string suffix, Report report,
               std::chrono::milliseconds syncGroup = std::chrono::milliseconds(50));
    // Does what is still asked, then ends its thread.
    ~RoomKeeper();
    RoomKeeper(const RoomKeeper&) = delete;
    RoomKeeper& operator=(const RoomKeeper&) = delete;

    // The room's file becomes `text`, whose last `tailBytes` bytes are its
    // tail: what the lines added later go in front of.
    void write(const std::string& code, std::string text, std::size_t tailBytes);
    // `lines` go in front of the file's tail, and the tail becomes `tail`.
    void append(const std::string& code, std::string lines, std::string tail);
    // The room is closed: `finished` (none: nothing is kept) goes to
    // finished/ under its name, replacing one of the same name there, and
    // the room's file goes.
    void close(const std::string& code, std::optional<std::string> finished);
    // Returns once everything asked so far is written and synced.
    void flush();

    std::string pathOf(const std::string& code) const;
    std::string finishedPathOf(const std::string& code) const;

private:
    enum class JobKind { Write, Append, Close };
    struct Job {
        std::string code;
        JobKind kind = JobKind::Write;
        std::string text;  // Write: the whole text; Append: the lines; Close: the finished text
        std::size_t tailBytes = 0;  // Write
        std::string tail;           // Append
        bool keep = false;          // Close: whether `text` is kept
    };
    // A room's file as the writer holds it open.
    struct LiveFile {
        int fd = -1;
        std::size_t size = 0;
        std::size_t tailBytes = 0;
        bool broken = false;  // a write failed: nothing is added until it is written whole
    };
    using Clock = std::chrono::steady_clock;

    void run();
    void carryOut(Job& job);
    void writeWhole(const Job& job, LiveFile& file);
    void addLines(const Job& job, LiveFile& file);
    void finish(const Job& job);
    void syncDirty();
    void fail(const std::string& code, LiveFile& file, const std::string& what);

    const std::string folder_;
    const std::string suffix_;
    const Report report_;
    const std::chrono::milliseconds syncGroup_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::list<Job> jobs_;
    // The job of each room still waiting that later asks merge into.
    std::unordered_map<std::string, std::list<Job>::iterator> waiting_;
    bool busy_ = false;
    bool unsynced_ = false;  // lines were added that are not synced yet
    bool closing_ = false;
    int flushes_ = 0;  // flush() calls waiting
    // The writer's own (no lock): the open files, and those added to since
    // the last sync, since when.
    std::unordered_map<std::string, LiveFile> files_;
    std::unordered_set<std::string> dirty_;
    Clock::time_point dirtySince_{};
    std::thread worker_;  // last, so that it starts with everything above in place
};

}  // namespace capzel::server
