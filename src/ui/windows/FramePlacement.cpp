#include "ui/windows/FramePlacement.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMargins>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <memory>

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

int frameExtraHeight(const QWidget& window) {
    auto extra = [](const QWidget& w) {
        const QMargins m = w.windowHandle()->frameMargins();
        return m.top() + m.bottom();
    };
    if (frameKnown(window)) return extra(window);
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other != &window && other->isVisible() && frameKnown(*other)) return extra(*other);
    return 0;
}

}  // namespace capzel::ui
