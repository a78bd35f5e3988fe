// The main window at the player's size: the field, its controls and the
// menu bar grow alike, and a window that outgrows its screen moves back onto it.
#include <QLayout>
#include <QMenuBar>

#include "ui/windows/FieldView.h"
#include "ui/windows/FirstGameCoach.h"
#include "ui/windows/FramePlacement.h"
#include "ui/windows/MainWindow.h"
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
    if (coach_) coach_->setZoom(zoom);
    // The menu bar grows with the window; the menus that drop from it keep
    // the desktop's own type, as every other program's do (the toolkit's
    // menu sets a larger type's shortcuts against their captions).
    zoomFont(*menuBar(), zoom);
    layout()->activate();
}

void MainWindow::setSizePercent(int percent) {
    const double zoom = zoomOf(percent);
    if (zoom == view_->zoom()) return;
    zoomTo(zoom);
    if (isVisible()) fitOnScreen();
}

}  // namespace capzel::ui
