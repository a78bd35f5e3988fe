#include "ui/windows/FramePlacement.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMargins>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <memory>
#include <optional>

namespace capzel::ui {

namespace {

// How long a framed window is kept in place after its frame appeared. How
// long the frame may take to appear (a window manager on a busy machine
// takes seconds), and how often to look: soon at first, then less often.
constexpr qint64 kWatchMs = 2000;
constexpr qint64 kFrameWaitMs = 30000;
constexpr int kFirstLookMs = 10;
constexpr int kLastLookMs = 250;

bool frameKnown(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle != nullptr && handle->frameMargins() != QMargins();
}

}  // namespace

void whenFrameKnown(QWidget& window, std::function<void()> then) {
    if (frameKnown(window)) {
        then();
        return;
    }
    auto* look = new QTimer(&window);
    auto since = std::make_shared<QElapsedTimer>();
    since->start();
    QPointer<QWidget> target(&window);
    QObject::connect(look, &QTimer::timeout, look, [look, target, since, then = std::move(then)] {
        look->setInterval(std::clamp(look->interval() * 2, kFirstLookMs, kLastLookMs));
        if (target && frameKnown(*target)) {
            then();
        } else if (target && since->elapsed() < kFrameWaitMs) {
            return;
        }
        look->deleteLater();
    });
    look->start(0);
}

namespace {

// Moves a framed window's frame to where it belongs again whenever it is
// found elsewhere after a move (the window manager's own placement of a new
// window may come after the program's), for a short while after it was
// placed, a few times at most.
class FrameKeeper : public QObject {
public:
    FrameKeeper(QWidget& window, std::function<QPoint()> where) : QObject(&window), window_(window), where_(std::move(where)) {
        since_.start();
        window.installEventFilter(this);
        check();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Move) QTimer::singleShot(0, this, [this] { check(); });
        return false;
    }

private:
    void check() {
        if (since_.elapsed() > kWatchMs || movesLeft_ == 0) {
            deleteLater();
            return;
        }
        const QPoint wanted = where_();
        if (window_.frameGeometry().topLeft() == wanted) return;
        --movesLeft_;
        window_.move(wanted);
    }

    QWidget& window_;
    std::function<QPoint()> where_;
    QElapsedTimer since_;
    int movesLeft_ = 3;
};

}  // namespace

void placeFrame(QWidget& window, std::function<QPoint()> where) {
    // Known before the place was worked out: the move placed the frame
    // itself. (It may become known while the move is made.)
    const bool known = frameKnown(window);
    window.move(where());
    if (known) return;
    QPointer<QWidget> target(&window);
    whenFrameKnown(window, [target, where = std::move(where)] { new FrameKeeper(*target, where); });
}

namespace {

// `r` moved as little as needed to lie within `room` (its top left corner
// kept in the room when it is larger).
QRect within(QRect r, const QRect& room) {
    r.moveLeft(std::max(room.left(), std::min(r.left(), room.right() + 1 - r.width())));
    r.moveTop(std::max(room.top(), std::min(r.top(), room.bottom() + 1 - r.height())));
    return r;
}

}  // namespace

QRect clearPlace(const QRect& frame, const QList<QRect>& others, const QRect& room, QSize smallest) {
    const QRect wanted = within(frame, room);
    smallest = smallest.isValid() ? smallest.boundedTo(wanted.size()) : wanted.size();
    const auto clear = [&](const QRect& c) {
        return room.contains(c) && std::none_of(others.begin(), others.end(), [&c](const QRect& o) { return o.intersects(c); });
    };
    const auto nearest = [&frame](const std::optional<QRect>& best, const QRect& c) {
        return !best || (c.topLeft() - frame.topLeft()).manhattanLength() < (best->topLeft() - frame.topLeft()).manhattanLength();
    };
    // Whole: where it is, beside or above or below another, in a corner.
    QList<QRect> candidates{wanted};
    const int w = wanted.width(), h = wanted.height();
    for (const QRect& o : others)
        for (const QPoint at : {QPoint(o.right() + 1, wanted.top()), QPoint(o.left() - w, wanted.top()),
                                QPoint(wanted.left(), o.bottom() + 1), QPoint(wanted.left(), o.top() - h),
                                QPoint(o.right() + 1, o.top()), QPoint(o.left(), o.bottom() + 1)})
            candidates << within(QRect(at, wanted.size()), room);
    for (const QPoint corner : {QPoint(room.right() + 1 - w, room.top()), QPoint(room.right() + 1 - w, room.bottom() + 1 - h),
                                QPoint(room.left(), room.bottom() + 1 - h), room.topLeft()})
        candidates << within(QRect(corner, wanted.size()), room);
    std::optional<QRect> best;
    for (const QRect& c : candidates)
        if (clear(c) && nearest(best, c)) best = c;
    if (best) return *best;
    // Smaller, down to `smallest`: the room beside, above or below another.
    for (const QRect& o : others) {
        const QRect sides[] = {QRect(QPoint(o.right() + 1, room.top()), room.bottomRight()),
                               QRect(room.topLeft(), QPoint(o.left() - 1, room.bottom())),
                               QRect(QPoint(room.left(), o.bottom() + 1), room.bottomRight()),
                               QRect(room.topLeft(), QPoint(room.right(), o.top() - 1))};
        for (const QRect& side : sides) {
            const QSize size = wanted.size().boundedTo(side.size());
            if (size.width() < smallest.width() || size.height() < smallest.height()) continue;
            const QRect c = within(QRect(wanted.topLeft(), size), side);
            if (clear(c) && nearest(best, c)) best = c;
        }
    }
    return best.value_or(wanted);
}

QList<QRect> otherWindowFrames(const QWidget& window) {
    QList<QRect> frames;
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other == &window || !other->isVisible() || other->isMinimized()) continue;
        const Qt::WindowType type = other->windowType();
        if (type != Qt::Window && type != Qt::Dialog) continue;
        frames << other->frameGeometry();
    }
    return frames;
}

void placeClear(QWidget& window, std::function<QPoint()> where) {
    const QScreen* screen = window.screen();
    if (!screen) return placeFrame(window, std::move(where));
    // A window larger than the free area is made to fit it, frame included.
    const QRect room = screen->availableGeometry();
    const QSize frameExtra = window.frameGeometry().size() - window.size();
    const QSize fitting = window.size().boundedTo(room.size() - frameExtra);
    if (fitting != window.size() && window.minimumSize().boundedTo(fitting) == window.minimumSize()) window.resize(fitting);
    QPointer<QWidget> target(&window);
    placeFrame(window, [target, where = std::move(where)] {
        if (!target || !target->screen()) return where();
        // Before its own frame is known, the window is taken to be framed
        // as the program's other windows are.
        const QMargins m = frameMarginsOf(*target);
        const QSize outer = frameKnown(*target) ? target->frameGeometry().size()
                                                : target->size().grownBy(m);
        const QRect frame(where(), outer);
        const QSize extra = outer - target->size();
        const QRect place = clearPlace(frame, otherWindowFrames(*target), target->screen()->availableGeometry(),
                                       target->minimumSizeHint().expandedTo(target->minimumSize()) + extra);
        if (place.size() != outer) target->resize(place.size() - extra);
        return place.topLeft();
    });
    window.raise();
}

QMargins frameMarginsOf(const QWidget& window) {
    if (frameKnown(window)) return window.windowHandle()->frameMargins();
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other != &window && other->isVisible() && frameKnown(*other)) return other->windowHandle()->frameMargins();
    return {};
}

int frameExtraHeight(const QWidget& window) {
    const QMargins m = frameMarginsOf(window);
    return m.top() + m.bottom();
}

}  // namespace capzel::ui
