#include "ui/windows/FramePlacement.h"

#include <QApplication>
#include <QElapsedTimer>
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

// How long after showing a frame may still appear, and how often to look.
constexpr qint64 kWatchMs = 2000;
constexpr int kLookMs = 10;

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
        look->setInterval(kLookMs);
        if (target && frameKnown(*target)) {
            then();
        } else if (target && since->elapsed() < kWatchMs) {
            return;
        }
        look->deleteLater();
    });
    look->start(0);
}

void placeFrame(QWidget& window, std::function<QPoint()> where) {
    window.move(where());
    if (frameKnown(window)) return;  // the move placed the frame itself
    QPointer<QWidget> target(&window);
    whenFrameKnown(window, [target, where = std::move(where)] { target->move(where()); });
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

QRect clearPlace(const QRect& frame, const QList<QRect>& others, const QRect& room) {
    const QRect wanted = within(frame, room);
    QList<QRect> candidates{wanted};
    for (const QRect& o : others) {
        for (const QPoint at : {QPoint(o.right() + 1, wanted.top()), QPoint(o.left() - wanted.width(), wanted.top()),
                                QPoint(wanted.left(), o.bottom() + 1), QPoint(wanted.left(), o.top() - wanted.height()),
                                QPoint(o.right() + 1, o.top()), QPoint(o.left(), o.bottom() + 1)})
            candidates << within(QRect(at, wanted.size()), room);
    }
    const int w = wanted.width(), h = wanted.height();
    for (const QPoint corner : {QPoint(room.right() + 1 - w, room.top()), QPoint(room.right() + 1 - w, room.bottom() + 1 - h),
                                QPoint(room.left(), room.bottom() + 1 - h), room.topLeft()})
        candidates << within(QRect(corner, wanted.size()), room);
    std::optional<QRect> best;
    for (const QRect& c : candidates) {
        if (!room.contains(c)) continue;
        if (std::any_of(others.begin(), others.end(), [&c](const QRect& o) { return o.intersects(c); })) continue;
        if (!best || (c.topLeft() - frame.topLeft()).manhattanLength() < (best->topLeft() - frame.topLeft()).manhattanLength())
            best = c;
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
        const QRect frame(where(), target->frameGeometry().size());
        return clearPlace(frame, otherWindowFrames(*target), target->screen()->availableGeometry()).topLeft();
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
