// The Help menu's "&About": the About box, not modal. It is created when
// shown and deletes itself when closed; while one is open, "&About" brings
// that one to the front instead of opening a second.
#include <QPointer>
#include <QWindow>

#include "ui/App.h"
#include "ui/FrmAbout.h"
#include "ui/frmMain.h"

namespace capzel::ui {

void CapzelApp::showAbout() {
    if (about_) {
        about_->raise();
        about_->activateWindow();
        return;
    }
    // No parent widget: the box outlives a main window that a new game
    // replaces, and keeps the program running while it is open. It owns
    // itself (it deletes itself on close).
    auto* about = new FrmAbout;  // NOLINT: owned by itself through WA_DeleteOnClose
    about_ = about;
    // Kept off the task bar as a dialog of the main window, without being
    // its child.
    about->winId();
    if (frmMain* w = mainWindow(); w != nullptr && about->windowHandle() != nullptr)
        about->windowHandle()->setTransientParent(w->windowHandle());
    about->show();
}

}  // namespace capzel::ui
