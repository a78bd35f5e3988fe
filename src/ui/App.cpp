#include "ui/App.h"

#include <QApplication>
#include <chrono>

#include "ui/frmMain.h"

namespace capzel::ui {

CapzelApp::CapzelApp(QObject* parent) : QObject(parent) {}

CapzelApp::~CapzelApp() = default;

frmMain& CapzelApp::openMainWindow() {
    if (main_) {
        main_->close();
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

}  // namespace capzel::ui
