// An application object for the window tests that records which of the
// program's commands the windows reached.
#pragma once

#include <QStringList>

#include "ui/App.h"

namespace capzel::test {

class RecordingApp : public ui::CapzelApp {
public:
    QStringList calls;

    void newGame() override { calls << QStringLiteral("newGame"); }
    void saveGame() override { calls << QStringLiteral("saveGame"); }
    void loadGame() override { calls << QStringLiteral("loadGame"); }
    void showStatus() override { calls << QStringLiteral("showStatus"); }
    void showHighScores() override { calls << QStringLiteral("showHighScores"); }
    void showAbout() override { calls << QStringLiteral("showAbout"); }
    void showHistory() override { calls << QStringLiteral("showHistory"); }
    void setPosition() override { calls << QStringLiteral("setPositionAction"); }
    void setFriction() override { calls << QStringLiteral("setFrictionAction"); }
    void setSpeed() override { calls << QStringLiteral("setSpeedAction"); }
    void setPiece() override { calls << QStringLiteral("setPieceAction"); }
    void setInGame() override { calls << QStringLiteral("setInGameAction"); }
    void setGuidelines() override { calls << QStringLiteral("setGuidelinesAction"); }
};

}  // namespace capzel::test
