// The main window's shot commands and keys: fast forward, the last shot
// replayed or taken back, and Space, Enter and Esc during a turn.
#include <QKeyEvent>

#include "session/GameSession.h"
#include "ui/windows/GameHost.h"
#include "ui/windows/ComputerPlay.h"
#include "ui/windows/FieldView.h"
#include "ui/windows/MainWindow.h"
#include "ui/desktop/MessageBoxes.h"
#include "ui/windows/StepScheduler.h"

namespace capzel::ui {

namespace {
const QString kUndoQuestion = QStringLiteral(
    "Take back the last shot?  The game goes back to where it stood before that shot was played.");
}  // namespace

bool MainWindow::computerAtBoard() const { return computerPlay_ && computerPlay_->seatIsComputer(); }

// The menus' shot items, the pace of the run, and which field is shown:
// the replay's copy while a replay runs, the game's own otherwise.
void MainWindow::syncShotState() {
    // A computer at the board owns the turn's runs: no replay meanwhile.
    const bool computer = computerAtBoard();
    menus_.syncShotItems(state().gameRunning, turn_->canReplay() && !computer, turn_->canUndo());
    scheduler_->setFast(spaceHeld_ || menus_.fastForwardAction->isChecked());
    view_->syncShownField();
    if (turn_->replay()) view_->setHints(nullptr);
}

// Asks first; the game goes back to the start of the last shot, and the
// saved copy of the running game follows. Music and windows carry on.
void MainWindow::undoShot() {
    if (!turn_->canUndo() || !askYesNo(this, kUndoQuestion)) return;
    session().undo();
}

void MainWindow::replayLastShot() {
    if (!computerAtBoard()) turn_->startReplay();
}

bool MainWindow::isShotKey(int key) {
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

// Space held runs a shot fast (its auto-repeat is not a new press); Space
// or Enter while the bar charges is "Go"; Esc calls off an aim or a charge.
// Other keys are not the turn's; on a computer's turn only the pace is the
// player's. True for a key handled here.
bool MainWindow::handleShotKey(const QKeyEvent& key) {
    if (key.isAutoRepeat()) return false;
    const bool pressed = key.type() == QEvent::KeyPress;
    const bool person = !computerAtBoard();
    switch (key.key()) {
    case Qt::Key_Space: {
        // A repeat that a busy machine's toolkit took for a new press comes
        // at the very moment of the release before it: Space is still held.
        const bool repeat = pressed && key.timestamp() == spaceReleasedAt_;
        if (!pressed) spaceReleasedAt_ = key.timestamp();
        spaceHeld_ = pressed;
        if (person && pressed && !repeat && turn_->phase() == TurnPhase::Charging) turn_->goClicked();
        break;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (person && pressed && turn_->phase() == TurnPhase::Charging) turn_->goClicked();
        break;
    case Qt::Key_Escape:
        if (person && pressed) turn_->cancel();
        break;
    default:
        return false;
    }
    syncShotState();
    return true;
}

}  // namespace capzel::ui
