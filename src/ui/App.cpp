#include "ui/App.h"

#include <QApplication>
#include <chrono>

#include "ui/frmMain.h"

namespace capzel::ui {

CapzelApp::CapzelApp(QObject* parent) : QObject(parent) {}

CapzelApp::~CapzelApp() = default;

frmMain& CapzelApp::openMainWindow() {
    if (main_) {
        main_->retire();
        // A shot or a message box may still run inside the old window: it is
        // deleted when control is back in the main event loop.
        main_.release()->deleteLater();
    }
    main_ = std::make_unique<frmMain>(*this);
    main_->show();
    return *main_;
}

void CapzelApp::seedRandom() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    random_.seed(std::mt19937::result_type(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

void CapzelApp::exitProgram() {
    QApplication::closeAllWindows();
}

// The commands below belong to windows of their own (the new-game dialog,
// the saved-game file, the status, high-score and About windows) and to
// the hidden command menu; each is reached from here.

void CapzelApp::newGame() {}
void CapzelApp::saveGame() {}
void CapzelApp::loadGame() {}
void CapzelApp::showStatus() {}
void CapzelApp::showHighScores() {}

}  // namespace capzel::ui
