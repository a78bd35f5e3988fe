#include "ui/windows/WindowZoom.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "desktop/PlayerSettings.h"
#include "ui/windows/Twips.h"

namespace capzel::ui {

QFont zoomedFont(const QFont& base, double zoom) {
    QFont f = base;
    if (base.pointSizeF() > 0)
        f.setPointSizeF(base.pointSizeF() * zoom);
    else if (base.pixelSize() > 0)
        f.setPixelSize(int(std::lround(base.pixelSize() * zoom)));
    return f;
}

void zoomFont(QWidget& widget, double zoom) {
    if (zoom == 1.0) {
        widget.setFont(QFont());  // no property of its own: the inherited font again
        return;
    }
    const QWidget* parent = widget.parentWidget();
    const QFont own = parent && !widget.isWindow() ? parent->font() : QApplication::font(&widget);
    widget.setFont(zoomedFont(own, zoom));
}

void keepOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen) return;
    const QRect room = screen->availableGeometry();
    const QRect frame = window.frameGeometry();
    const int left = std::max(room.left(), std::min(frame.left(), room.right() + 1 - frame.width()));
    const int top = std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - frame.height()));
    if (QPoint(left, top) != frame.topLeft()) window.move(left, top);
}

int fittingSizePercent(const QSize& room, const std::function<QSize(double zoom)>& outerAt) {
    int best = kSizeChoices[0];
    for (const int percent : kSizeChoices) {
        const QSize need = outerAt(zoomOf(percent));
        if (need.width() <= room.width() && need.height() <= room.height()) best = std::max(best, percent);
    }
    return best;
}

}  // namespace capzel::ui
