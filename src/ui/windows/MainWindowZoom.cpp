// The main window at the player's size: the field, its controls and the
// menu bar grow alike, and a window that outgrows its screen moves back onto it.
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "desktop/PlayerSettings.h"
#include "ui/windows/FieldView.h"
#include "ui/windows/FirstGameCoach.h"
#include "ui/windows/FramePlacement.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/SidePanel.h"
#include "ui/windows/Twips.h"
#include "ui/windows/WindowZoom.h"

namespace capzel::ui {

// Now, and again once the window manager has told the frame's size.
void MainWindow::fitOnScreen() {
    keepOnScreen(*this);
    whenFrameKnown(*this, [this] { keepOnScreen(*this); });
}

void MainWindow::zoomTo(double zoom) {
    view_->setZoom(zoom);
    side_->fit(zoom, view_->height());
    if (coach_) coach_->setZoom(zoom);
    // The menu bar grows with the window; the menus that drop from it keep
    // the desktop's own type, as every other program's do (the toolkit's
    // menu sets a larger type's shortcuts against their captions).
    zoomFont(*menuBar(), zoom);
    layout()->activate();
    emit zoomChanged(zoom);
}

void MainWindow::setSizePercent(int percent) {
    const double zoom = zoomOf(std::min(percent, largestFittingPercent()));
    if (zoom == view_->zoom()) return;
    zoomTo(zoom);
    if (isVisible()) fitOnScreen();
}

// The menu bar grows with the type; the frame is the window manager's (a
// usual title bar is taken for it before any frame is known on a desktop).
QSize MainWindow::outerSizeAt(double zoom) const {
    const int menu = int(std::lround(menuBar()->sizeHint().height() * zoom / view_->zoom()));
    const int side = side_->isVisibleTo(this) ? int(std::lround(SidePanel::kWidth * zoom)) : 0;
    const QSize content(int(std::lround(kClientWidthPx * zoom)) + side, int(std::lround(kClientHeightPx * zoom)) + menu);
    QMargins frame = frameMarginsOf(*this);
    if (frame.isNull() && QGuiApplication::platformName() != QLatin1String("offscreen")) frame = QMargins(4, 32, 4, 4);
    return content + QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
}

int MainWindow::largestFittingPercent() const {
    const QScreen* s = screen();
    if (!s) return kSizeChoices[std::size(kSizeChoices) - 1];
    return fittingSizePercent(s->availableGeometry().size(), [this](double zoom) { return outerSizeAt(zoom); });
}

}  // namespace capzel::ui
