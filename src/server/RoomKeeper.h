// Keeps the rooms' files on a thread of its own, so that the server never
// waits for the disk between a shot and its broadcast: every write is
// synced (platform/SafeWrite.h), and a sync takes milliseconds.
//
// A room's newest text replaces its older one still waiting, so a room
// is written at most once per turn of the writer however fast it changes
// and the queue never holds more than one text a room. What happens to one
// room's file happens in the order asked: its last text is written before
// the file is moved away or removed. flush() waits until all asked is done.
//
// Standard C++ only.
#pragma once

#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>

namespace capzel::server {

class RoomKeeper {
public:
    // Files go to `<folder>/<code><suffix>`; finished ones to
    // `<folder>/finished/`. `report` is told (on the writer's thread) what
    // could not be written or moved.
    RoomKeeper(std::string folder, std::string suffix, std::function<void(const std::string&)> report);
    // Does what is still asked, then ends its thread.
    ~RoomKeeper();
    RoomKeeper(const RoomKeeper&) = delete;
    RoomKeeper& operator=(const RoomKeeper&) = delete;

    // The room's file becomes `text`.
    void keep(const std::string& code, std::string text);
    // The room is closed: its file moves to finished/ (replacing one of the
    // same name there), or with `keepFile` false is removed.
    void close(const std::string& code, bool keepFile);
    // Returns once everything asked so far is on the disk.
    void flush();

    std::string pathOf(const std::string& code) const;
    std::string finishedPathOf(const std::string& code) const;

private:
    enum class JobKind { Write, Finish, Remove };
    struct Job {
        std::string code;
        JobKind kind = JobKind::Write;
        std::string text;
    };

    void run();
    void carryOut(const Job& job);

    const std::string folder_;
    const std::string suffix_;
    const std::function<void(const std::string&)> report_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::list<Job> jobs_;
    // The write of each room still waiting, which a newer text replaces.
    std::unordered_map<std::string, std::list<Job>::iterator> waitingWrites_;
    bool busy_ = false;
    bool closing_ = false;
    std::thread worker_;  // last, so that it starts with everything above in place
};

}  // namespace capzel::server
