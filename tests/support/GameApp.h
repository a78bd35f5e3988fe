// An application object for the game-command tests whose status command
// opens a real status window (the test keeps track of it).
#pragma once

#include <QPointer>

#include "ui/App.h"
#include "ui/FrmStatus.h"

namespace capzel::test {

class GameApp : public ui::CapzelApp {
public:
    QPointer<ui::FrmStatus> status;
    int statusShown = 0;

    ~GameApp() override { delete status.data(); }

    void showStatus() override {
        ++statusShown;
        if (!status) status = new ui::FrmStatus(state());  // deletes itself when closed
        status->show();
    }
};

}  // namespace capzel::test
