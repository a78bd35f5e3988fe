// The hidden menu's six commands, run on the game of the current main
// window: its field, the one game state, and its platform for the input
// boxes. The window brings its menus and picture up to date afterwards.
#include "controls/HiddenMenu.h"
#include "ui/App.h"
#include "ui/frmMain.h"

namespace capzel::ui {

namespace {

// Runs a command on the current main window's game; nothing without one.
// A command that ends the game (nobody left alive) shows the high scores.
void onMainWindow(CapzelApp& app, GameFlow (*command)(GameContext&)) {
    frmMain* w = app.mainWindow();
    if (w == nullptr) return;
    GameContext ctx = w->context();
    if (command(ctx) == GameFlow::Ended) app.showHighScores();
}

}  // namespace

void CapzelApp::mnuSetPos() { onMainWindow(*this, mnuSetPos_Click); }
void CapzelApp::mnuSetFrict() { onMainWindow(*this, mnuSetFrict_Click); }
void CapzelApp::mnuSetSpeed() { onMainWindow(*this, mnuSetSpeed_Click); }
void CapzelApp::mnuSetPiece() { onMainWindow(*this, mnuSetPiece_Click); }
void CapzelApp::mnuSetIngame() { onMainWindow(*this, mnuSetIngame_Click); }
void CapzelApp::mnuSetGuide() { onMainWindow(*this, mnuSetGuide_Click); }

}  // namespace capzel::ui
