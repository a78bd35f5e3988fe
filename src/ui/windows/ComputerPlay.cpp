#include "ui/windows/ComputerPlay.h"

#include "model/PowerBarScale.h"

#include <algorithm>
#include <cmath>

#include "players/PlannedShot.h"
#include "session/GameSession.h"
#include "ui/windows/GameHost.h"
#include "ui/windows/FieldView.h"
#include "ui/windows/StepScheduler.h"

namespace capzel::ui {

namespace {
// Room left between the suggested drag point and the field's edge: the
// point's ring (4 pixels) and a little more stay in sight.
constexpr float kSuggestionMargin = 120;
}  // namespace

ComputerPlay::ComputerPlay(const ComputerPlayBoard& board, GameHost& app)
    : QObject(&board.window), board_(board), app_(app) {
    lookTimer_.setSingleShot(true);
    lookTimer_.setInterval(0);
    connect(&lookTimer_, &QTimer::timeout, this, &ComputerPlay::look);
}

ComputerPlay::~ComputerPlay() = default;

ComputerPlay::PersonCommand::PersonCommand(ComputerPlay& play) : play_(&play) { ++play.personCommands_; }

ComputerPlay::PersonCommand::~PersonCommand() {
    if (play_) --play_->personCommands_;
}

// A seat played at another computer of an online game is, at this board,
// like the computer's: its shots come by themselves.
bool ComputerPlay::seatIsComputer() const { return computerToPlay(app_.game()) || app_.session().seatIsRemote(); }

bool ComputerPlay::unattended() const { return personCommands_ == 0 && seatIsComputer(); }

bool ComputerPlay::unattendedFor(int player) const {
    const Game& g = app_.game();
    return personCommands_ == 0 && g.isPlayer(player) && g.seats[player].kind != PlayerKind::Human;
}

void ComputerPlay::lookSoon() {
    if (!lookTimer_.isActive()) lookTimer_.start();
}

void ComputerPlay::look() {
    // A closed window plays no more (its game may still be under way in a
    // box that the window's last step opened).
    if (!board_.window.isVisible()) return;
    updateSuggestion();
    if (!ownsBoard()) return;
    GameSession& session = app_.session();
    if (const ComputerTurn* playing = session.computerTurn(); playing && playing->running()) return;
    if (const RemoteShotTurn* shown = session.remoteShot(); shown && shown->running()) return;
    board_.scheduler.drive(board_.turn);
    // Not while the rules still judge a shot (their messages may be open).
    ComputerTurn* next = session.startComputerTurn(app_.random()());
    if (!next) return;
    updateSuggestion();
    board_.scheduler.drive(*next);
    board_.scheduler.start();
}

bool ComputerPlay::ownsBoard() const {
    const GameSession& session = app_.session();
    return session.hasBoard() && &session.turn() == &board_.turn;
}

const ComputerTurn* ComputerPlay::turn() const { return ownsBoard() ? app_.session().computerTurn() : nullptr; }

// The stopped turn is kept (over) until the next look: a step of it may
// still be on the way back from a box it opened.
void ComputerPlay::stop() {
    lookTimer_.stop();
    clearSuggestion();
    if (!ownsBoard()) return;
    app_.session().endComputerTurn();
    board_.scheduler.drive(board_.turn);
}

bool ComputerPlay::canSuggest() const {
    const Game& g = app_.game();
    const TurnController& turn = board_.turn;
    return g.gameRunning && g.isPlayer(g.currentTurn) && !g.seats[g.currentTurn].dead && !seatIsComputer() &&
           !turn.running() && turn.phase() != TurnPhase::Judging && !(this->turn() && this->turn()->running());
}

void ComputerPlay::suggestShot() {
    if (!canSuggest()) return;
    clearSuggestion();
    // The plan tells when it is ready, from its own thread: the window is
    // called back through its event loop.
    suggestion_ = std::make_unique<players::PlanJob>(
        app_.game(), PlayerKind::Expert, app_.random()(), players::PlannerOptions{},
        [this] { QMetaObject::invokeMethod(this, &ComputerPlay::suggestionReady, Qt::QueuedConnection); });
}

void ComputerPlay::suggestionReady() {
    if (!suggestion_ || !suggestion_->ready()) return;
    if (!canSuggest() || !suggestion_->stillFits(app_.game())) {
        clearSuggestion();
        return;
    }
    const Board& board = app_.game().board;
    const players::PlannedShot& shot = suggestion_->result().shot;
    const Box& piece = board.pieces[app_.game().currentTurn];
    SuggestedShot s;
    s.x1 = players::aimStartX(piece);
    s.y1 = players::aimStartY(piece);
    s.x2 = shot.aimX;
    s.y2 = shot.aimY;
    // A strong shot's drag point may lie beyond the window: the line is
    // drawn as far as the field goes, pointing the same way.
    keepAimInside(s, board.scaleWidth, board.scaleHeight, kSuggestionMargin);
    s.barLevel = barLevel(shot.barTicks);
    const double rows = std::max(1, powerBarRows());
    s.percent = std::clamp(int(std::lround(100.0 * (rows - s.barLevel) / rows)), 1, 100);
    board_.view.setSuggestion(s);
}

// The suggestion goes once the shot is on its way, or once the game no
// longer stands as it was planned for (a piece moved, the turn passed).
void ComputerPlay::updateSuggestion() {
    board_.suggestShotAction.setEnabled(canSuggest());
    if (!suggestion_ || !suggestion_->ready()) return;
    if (board_.turn.shot() != nullptr || seatIsComputer() ||
        !suggestion_->stillFits(app_.game()))
        clearSuggestion();
}

void ComputerPlay::clearSuggestion() {
    suggestion_.reset();
    board_.view.setSuggestion(std::nullopt);
}

}  // namespace capzel::ui
