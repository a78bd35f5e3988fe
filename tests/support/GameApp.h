// An application object for the game-command tests that counts how often
// the status command ran; the command itself opens the real status window.
#pragma once

#include "ui/App.h"

namespace capzel::test {

class GameApp : public ui::CapzelApp {
public:
    int statusShown = 0;

    void showStatus() override {
        ++statusShown;
        CapzelApp::showStatus();
    }
};

}  // namespace capzel::test
