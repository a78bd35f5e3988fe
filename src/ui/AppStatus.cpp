// The status command: opens the live status window, or brings the open one
// to the front. There is one status window at a time; it lives until the
// player closes it and goes with the application at the latest, since it
// reads the application's game state. It refreshes whenever the application
// says that the game changed.
#include "ui/App.h"
#include "ui/FrmStatus.h"

namespace capzel::ui {

FrmStatus* CapzelApp::statusWindow() const { return status_; }

void CapzelApp::showStatus() {
    if (!status_) {
        status_ = new FrmStatus(g_);  // deletes itself when closed
        FrmStatus* w = status_;
        connect(this, &QObject::destroyed, w, [w] { delete w; });
        connect(this, &CapzelApp::gameStateChanged, w, &FrmStatus::stateChanged);
    }
    status_->setWindowState(status_->windowState() & ~Qt::WindowMinimized);
    status_->show();
    status_->raise();
    status_->activateWindow();
}

}  // namespace capzel::ui
