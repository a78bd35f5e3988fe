// The running game kept on disk, and its offer at the next start.
#include "platform/Platform.h"
#include "records/SavedGameState.h"
#include "ui/App.h"
#include "ui/Autosave.h"
#include "ui/MainWindow.h"
#include "ui/QtPlatform.h"

namespace capzel::ui {

void CapzelApp::autosave() {
    MainWindow* main = mainWindow();
    if (!main) return;
    const std::string failure = keepAutosave(main->platform(), g_, main->field().board, autosaveFile());
    if (failure.empty() || autosaveFailureTold_) return;
    autosaveFailureTold_ = true;
    main->platform().message("The running game could not be kept for the next start. " + failure);
}

void CapzelApp::offerResume() {
    MainWindow* main = mainWindow();
    if (!main || g_.gameRunning) return;
    Platform& ui = main->platform();
    const AutosaveReading found = readAutosave(ui, autosaveFile());
    if (!found.notice.empty()) ui.message(found.notice);
    if (!found.game || !ui.askYesNo(kResumeQuestion)) return;
    if (mainWindow() != main || g_.gameRunning) return;  // something else started meanwhile
    GameContext ctx = main->context();
    applySavedGame(ctx, *found.game);
    startLoadedGame(*main);
}

}  // namespace capzel::ui
