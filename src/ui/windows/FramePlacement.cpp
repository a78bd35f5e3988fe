#include "ui/windows/FramePlacement.h"

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

void placeFrame(QWidget& window, std::function<QPoint()> where) {
    window.move(where());
    if (frameKnown(window)) return;  // the move placed the frame itself
    // Looks for the frame until it is known, then places it once.
    auto* look = new QTimer(&window);
    auto since = std::make_shared<QElapsedTimer>();
    since->start();
    QPointer<QWidget> target(&window);
    QObject::connect(look, &QTimer::timeout, look, [look, target, since, where = std::move(where)] {
        if (target && frameKnown(*target)) {
            target->move(where());
        } else if (since->elapsed() < kWatchMs) {
            return;
        }
        look->deleteLater();
    });
    look->start(kLookMs);
}

}  // namespace capzel::ui
