#include "desktop/ComputerPlay.h"

#include "desktop/StepScheduler.h"

namespace capzel::ui {

ComputerPlay::ComputerPlay(ComputerPlayBoard board, GameSession& session, std::mt19937& random)
    : QObject(&board.window), board_(std::move(board)), session_(session), random_(random) {
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
bool ComputerPlay::seatIsComputer() const { return computerToPlay(session_.game()) || session_.seatIsRemote(); }

bool ComputerPlay::unattended() const { return personCommands_ == 0 && seatIsComputer(); }

bool ComputerPlay::unattendedFor(int player) const {
    const Game& g = session_.game();
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
    GameSession& session = session_;
    if (const ComputerTurn* playing = session.computerTurn(); playing && playing->running()) return;
    if (const RemoteShotTurn* shown = session.remoteShot(); shown && shown->running()) return;
    board_.scheduler.drive(board_.turn);
    // Not while the rules still judge a shot (their messages may be open).
    ComputerTurn* next = session.startComputerTurn(random_());
    if (!next) return;
    updateSuggestion();
    board_.scheduler.drive(*next);
    board_.scheduler.start();
}

bool ComputerPlay::ownsBoard() const {
    const GameSession& session = session_;
    return session.hasBoard() && &session.turn() == &board_.turn;
}

const ComputerTurn* ComputerPlay::turn() const { return ownsBoard() ? session_.computerTurn() : nullptr; }

// The stopped turn is kept (over) until the next look: a step of it may
// still be on the way back from a box it opened.
void ComputerPlay::stop() {
    lookTimer_.stop();
    clearSuggestion();
    if (!ownsBoard()) return;
    session_.endComputerTurn();
    board_.scheduler.drive(board_.turn);
}

bool ComputerPlay::canSuggest() const {
    const Game& g = session_.game();
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
        session_.game(), PlayerKind::Expert, random_(), players::PlannerOptions{},
        [this] { QMetaObject::invokeMethod(this, &ComputerPlay::suggestionReady, Qt::QueuedConnection); });
}

void ComputerPlay::suggestionReady() {
    if (!suggestion_ || !suggestion_->ready()) return;
    if (!canSuggest() || !suggestion_->stillFits(session_.game())) {
        clearSuggestion();
        return;
    }
    board_.showSuggestion(suggestion_->result().shot);
}

// The suggestion goes once the shot is on its way, or once the game no
// longer stands as it was planned for (a piece moved, the turn passed).
void ComputerPlay::updateSuggestion() {
    board_.suggestShotAction.setEnabled(canSuggest());
    if (!suggestion_ || !suggestion_->ready()) return;
    if (board_.turn.shot() != nullptr || seatIsComputer() ||
        !suggestion_->stillFits(session_.game()))
        clearSuggestion();
}

void ComputerPlay::clearSuggestion() {
    suggestion_.reset();
    board_.showSuggestion(std::nullopt);
}

}  // namespace capzel::ui
