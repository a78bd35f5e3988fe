// The main window's shot commands and keys: fast forward, the last shot
// replayed or taken back, and Space, Enter and Esc during a turn.
#include <QAction>
#include <QKeyEvent>
#include <algorithm>
#include <cmath>

#include "model/PowerBarScale.h"

#include "session/GameSession.h"
#include "ui/windows/GameHost.h"
#include "desktop/ComputerPlay.h"
#include "ui/windows/FieldView.h"
#include "ui/windows/MainWindow.h"
#include "desktop/MessageBoxes.h"
#include "desktop/StepScheduler.h"

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
    const bool own = ownsSessionBoard();
    const bool local = !session().online();
    menus_.syncShotItems(game().gameRunning, turn_->canReplay() && !computer, local && own && session().canUndo(),
                         local && own && session().canRedo());
    scheduler_->setFast(spaceHeld_ || menus_.fastForwardAction->isChecked());
    view_->syncShownField();
    if (turn_->replay()) view_->setHints(nullptr);
}

bool MainWindow::ownsSessionBoard() const {
    return boardOpen_ && app_.session().hasBoard() && &app_.session().turn() == turn_.get();
}

// The game goes back to the start of the last shot still in effect, and the
// saved copy of the running game follows. Music and windows carry on. Only
// the first step back asks: the shots taken back can be played again.
void MainWindow::undoShot() {
    if (!ownsSessionBoard() || !session().canUndo()) return;
    if (!session().canRedo() && !askYesNo(this, kUndoQuestion)) return;
    session().undo();
}

void MainWindow::redoShot() {
    if (ownsSessionBoard() && session().canRedo()) session().redo();
}

void MainWindow::connectRecordItems(const std::function<void(QAction*, std::function<void()>)>& on) {
    on(menus_.undoAction, [this] { undoShot(); });
    on(menus_.redoAction, [this] { redoShot(); });
    on(menus_.watchRecordAction, [this] { app_.watchGameRecord(); });
    on(menus_.exportRecordAction, [this] { app_.exportGameRecord(); });
    on(menus_.hostOnlineAction, [this] { app_.hostOnlineGame(); });
    on(menus_.joinOnlineAction, [this] { app_.joinOnlineGame(); });
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

// Room left between the suggested drag point and the field's edge: the
// point's ring (4 pixels) and a little more stay in sight.
constexpr float kSuggestionMargin = 120;

void MainWindow::showSuggestion(const std::optional<players::PlannedShot>& shot) {
    if (!shot) {
        view_->setSuggestion(std::nullopt);
        return;
    }
    const Board& board = app_.game().board;
    const Box& piece = board.pieces[app_.game().currentTurn];
    SuggestedShot s;
    s.x1 = players::aimStartX(piece);
    s.y1 = players::aimStartY(piece);
    s.x2 = shot->aimX;
    s.y2 = shot->aimY;
    // A strong shot's drag point may lie beyond the window: the line is
    // drawn as far as the field goes, pointing the same way.
    keepAimInside(s, board.scaleWidth, board.scaleHeight, kSuggestionMargin);
    s.barLevel = barLevel(shot->barTicks);
    const double rows = std::max(1, powerBarRows());
    s.percent = std::clamp(int(std::lround(100.0 * (rows - s.barLevel) / rows)), 1, 100);
    view_->setSuggestion(s);
}

}  // namespace capzel::ui
