#include "network/EpollDispatcher.h"

#ifdef __linux__

#include <QCoreApplication>
#include <QHash>
#include <QSocketNotifier>
#include <QTimerEvent>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace capzel::network {

namespace {

using Clock = std::chrono::steady_clock;
// What epoll's data says for the wake-up eventfd (sockets carry their fd and
// a serial number, never all ones).
constexpr std::uint64_t kWakeUpKey = ~std::uint64_t(0);
constexpr int kEventsAtOnce = 256;

class EpollDispatcher final : public QAbstractEventDispatcher {
public:
    EpollDispatcher() {
        epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
        wakeUpFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        epoll_event e{};
        e.events = EPOLLIN;
        e.data.u64 = kWakeUpKey;
        ::epoll_ctl(epoll_, EPOLL_CTL_ADD, wakeUpFd_, &e);
    }
    ~EpollDispatcher() override {
        ::close(wakeUpFd_);
        ::close(epoll_);
    }
    bool usable() const { return epoll_ >= 0 && wakeUpFd_ >= 0; }

    bool processEvents(QEventLoop::ProcessEventsFlags flags) override;

    void registerSocketNotifier(QSocketNotifier* notifier) override;
    void unregisterSocketNotifier(QSocketNotifier* notifier) override;

    void registerTimer(int timerId, qint64 interval, Qt::TimerType timerType, QObject* object) override;
    bool unregisterTimer(int timerId) override;
    bool unregisterTimers(QObject* object) override;
    QList<TimerInfo> registeredTimers(QObject* object) const override;
    int remainingTime(int timerId) override;

    void wakeUp() override {
        if (wakeUpPending_.exchange(true)) return;
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeUpFd_, &one, sizeof one);
    }
    void interrupt() override {
        interrupted_ = true;
        wakeUp();
    }

private:
    // The notifiers of one socket, and the serial number of its entry in the
    // set: an event that was waiting for a socket since closed and its number
    // taken by another is not passed to the newcomer.
    struct Watch {
        QSocketNotifier* read = nullptr;
        QSocketNotifier* write = nullptr;
        QSocketNotifier* exception = nullptr;
        std::uint32_t serial = 0;
        std::uint32_t events() const {
            return (read ? EPOLLIN : 0u) | (write ? EPOLLOUT : 0u) | (exception ? EPOLLPRI : 0u);
        }
    };
    struct Timer {
        qint64 interval = 0;
        Qt::TimerType type = Qt::CoarseTimer;
        QObject* object = nullptr;
        Clock::time_point due;
        bool firing = false;  // its handler runs (a nested loop fires it no more)
    };
    using Deadline = std::pair<Clock::time_point, int>;

    void changeWatch(int fd, Watch& watch, bool added);
    void activateSockets(const epoll_event* events, int count);
    void activateTimers();
    int waitMs() const;

    int epoll_ = -1;
    int wakeUpFd_ = -1;
    std::atomic<bool> wakeUpPending_{false};
    std::atomic<bool> interrupted_{false};
    std::uint32_t serials_ = 0;
    QHash<int, Watch> watches_;
    QHash<int, Timer> timers_;
    std::set<Deadline> deadlines_;
};

void EpollDispatcher::changeWatch(int fd, Watch& watch, bool added) {
    epoll_event e{};
    e.events = watch.events();
    e.data.u64 = (std::uint64_t(watch.serial) << 32) | std::uint32_t(fd);
    if (e.events == 0) {
        // A socket already closed has left the set by itself.
        ::epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, &e);
        watches_.remove(fd);
        return;
    }
    if (::epoll_ctl(epoll_, added ? EPOLL_CTL_ADD : EPOLL_CTL_MOD, fd, &e) == 0) return;
    // The number was closed and opened again between two calls, or is
    // still in the set from before: the other way round.
    if (errno == EEXIST || errno == ENOENT) ::epoll_ctl(epoll_, added ? EPOLL_CTL_MOD : EPOLL_CTL_ADD, fd, &e);
}

void EpollDispatcher::registerSocketNotifier(QSocketNotifier* notifier) {
    const int fd = int(notifier->socket());
    const bool added = !watches_.contains(fd);
    Watch& watch = watches_[fd];
    if (added) watch.serial = ++serials_ & 0x7fffffffu;
    switch (notifier->type()) {
    case QSocketNotifier::Read: watch.read = notifier; break;
    case QSocketNotifier::Write: watch.write = notifier; break;
    case QSocketNotifier::Exception: watch.exception = notifier; break;
    }
    changeWatch(fd, watch, added);
}

void EpollDispatcher::unregisterSocketNotifier(QSocketNotifier* notifier) {
    const auto it = watches_.find(int(notifier->socket()));
    if (it == watches_.end()) return;
    Watch& watch = *it;
    for (QSocketNotifier** slot : {&watch.read, &watch.write, &watch.exception})
        if (*slot == notifier) *slot = nullptr;
    changeWatch(it.key(), watch, false);
}

void EpollDispatcher::activateSockets(const epoll_event* events, int count) {
    for (int k = 0; k < count; ++k) {
        const std::uint64_t key = events[k].data.u64;
        if (key == kWakeUpKey) continue;
        const int fd = int(std::uint32_t(key));
        const std::uint32_t serial = std::uint32_t(key >> 32);
        const std::uint32_t happened = events[k].events;
        // Each notifier is looked up again just before it is told: the one
        // before may have closed its socket or disabled the other notifier.
        const auto tell = [&](QSocketNotifier* Watch::*which) {
            const auto it = watches_.constFind(fd);
            if (it == watches_.constEnd() || it->serial != serial || !(it.value().*which)) return;
            QEvent event(QEvent::SockAct);
            QCoreApplication::sendEvent(it.value().*which, &event);
        };
        if (happened & (EPOLLIN | EPOLLHUP | EPOLLERR | EPOLLRDHUP)) tell(&Watch::read);
        if (happened & (EPOLLOUT | EPOLLERR)) tell(&Watch::write);
        if (happened & EPOLLPRI) tell(&Watch::exception);
    }
}

void EpollDispatcher::registerTimer(int timerId, qint64 interval, Qt::TimerType timerType, QObject* object) {
    unregisterTimer(timerId);
    Timer timer{interval, timerType, object, Clock::now() + std::chrono::milliseconds(interval), false};
    deadlines_.emplace(timer.due, timerId);
    timers_.insert(timerId, timer);
}

bool EpollDispatcher::unregisterTimer(int timerId) {
    const auto it = timers_.find(timerId);
    if (it == timers_.end()) return false;
    deadlines_.erase(Deadline{it->due, timerId});
    timers_.erase(it);
    return true;
}

bool EpollDispatcher::unregisterTimers(QObject* object) {
    std::vector<int> ids;
    for (auto it = timers_.cbegin(); it != timers_.cend(); ++it)
        if (it->object == object) ids.push_back(it.key());
    for (int id : ids) unregisterTimer(id);
    return !ids.empty();
}

QList<QAbstractEventDispatcher::TimerInfo> EpollDispatcher::registeredTimers(QObject* object) const {
    QList<TimerInfo> list;
    for (auto it = timers_.cbegin(); it != timers_.cend(); ++it)
        if (it->object == object) list.append(TimerInfo(it.key(), int(it->interval), it->type));
    return list;
}

int EpollDispatcher::remainingTime(int timerId) {
    const auto it = timers_.constFind(timerId);
    if (it == timers_.constEnd()) return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(it->due - Clock::now()).count();
    return int(std::max<qint64>(0, left));
}

// The timers due now, each once: one that is due again at once (an interval
// of 0) waits for the next pass.
void EpollDispatcher::activateTimers() {
    const auto now = Clock::now();
    std::vector<int> due;
    for (auto it = deadlines_.begin(); it != deadlines_.end() && it->first <= now; ++it) due.push_back(it->second);
    for (int id : due) {
        auto it = timers_.find(id);
        if (it == timers_.end() || it->firing) continue;
        deadlines_.erase(Deadline{it->due, id});
        // The next deadline keeps its step; after a stall it starts afresh
        // rather than firing the missed ones.
        it->due += std::chrono::milliseconds(it->interval);
        if (it->due <= now) it->due = now + std::chrono::milliseconds(it->interval);
        deadlines_.emplace(it->due, id);
        it->firing = true;
        QObject* object = it->object;
        QTimerEvent event(id);
        QCoreApplication::sendEvent(object, &event);
        // The handler may have stopped the timer, or started another under its number.
        it = timers_.find(id);
        if (it != timers_.end()) it->firing = false;
    }
}

int EpollDispatcher::waitMs() const {
    for (const auto& [due, id] : deadlines_) {
        const Timer& timer = timers_[id];
        if (timer.firing) continue;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now()).count();
        return int(std::clamp<qint64>(left, 0, 1 << 30));
    }
    return -1;
}

bool EpollDispatcher::processEvents(QEventLoop::ProcessEventsFlags flags) {
    emit awake();
    // A wake-up asked from now on writes the eventfd again.
    if (wakeUpPending_.exchange(false)) {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = ::read(wakeUpFd_, &count, sizeof count);
    }
    QCoreApplication::sendPostedEvents();

    const bool wait = (flags & QEventLoop::WaitForMoreEvents) && !interrupted_;
    if (wait) emit aboutToBlock();
    if (interrupted_.exchange(false)) return false;

    epoll_event events[kEventsAtOnce];
    int count = ::epoll_wait(epoll_, events, kEventsAtOnce, wait ? waitMs() : 0);
    if (count < 0) count = 0;  // a signal
    if (!(flags & QEventLoop::ExcludeSocketNotifiers)) activateSockets(events, count);
    if (!(flags & QEventLoop::X11ExcludeTimers)) activateTimers();
    return count > 0;
}

}  // namespace

QAbstractEventDispatcher* makeEpollDispatcher() {
    auto* dispatcher = new EpollDispatcher;
    if (dispatcher->usable()) return dispatcher;
    delete dispatcher;
    return nullptr;
}

}  // namespace capzel::network

#else

namespace capzel::network {
QAbstractEventDispatcher* makeEpollDispatcher() { return nullptr; }
}  // namespace capzel::network

#endif
