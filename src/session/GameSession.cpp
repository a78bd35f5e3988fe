#include "session/GameSession.h"

#include "platform/SilentPlatform.h"
#include "records/SavedGameState.h"
#include "rules/HiddenCommands.h"
#include "rules/TurnStart.h"

namespace capzel {

std::shared_ptr<TurnController> GameSession::openBoard(Platform& ui) {
    endComputerTurn();
    if (turn_) turn_->drop();
    ui_ = &ui;
    turn_ = std::make_shared<TurnController>(match_, ui);
    keptShots_ = 0;
    return turn_;
}

void GameSession::closeBoard(const Platform& ui) {
    if (ui_ != &ui) return;
    endComputerTurn();
    turn_->drop();
    turn_.reset();
    ui_ = nullptr;
}

Judgement GameSession::beginNewGame(const NewGameSettings& settings) { return beginGame(newGameSetup(settings), true); }

Judgement GameSession::beginSavedGame(const SavedGame& game) { return beginGame(savedGameSetup(game)); }

Judgement GameSession::beginGame(const GameSetup& setup, bool freshField) {
    // What the old game left under way (a charge, a shot) goes with it.
    endComputerTurn();
    if (turn_) turn_->drop();
    Game built = freshField ? Game{} : match_.game();
    buildGame(built, setup);
    return startGame(std::move(built));
}

// The record begins with the game as built, its pieces painted in their
// players' colours as the window shows them, once its first turn started.
Judgement GameSession::startGame(Game built) {
    paintPlayerColors(built);
    SilentPlatform silent;
    GameContext ctx{built, silent};
    Judgement started = startTurn(ctx, built.currentTurn);
    replaceMatch(Match(std::move(built), started.announcements));
    if (turn_) turn_->bringForward(started);
    noteEnd();
    keep();
    return started;
}

void GameSession::replaceMatch(Match match) {
    stopped_ = false;
    match_ = std::move(match);
    began_ = now_ ? now_() : std::string();
    match_.setTimes(began_, {});
    keptShots_ = turn_ ? turn_->judgedShots() : 0;
    if (turn_) turn_->gameChanged();
}

Judgement GameSession::runCommand(HiddenCommandKind kind) {
    if (!ui_) return {};
    const HiddenCommand asked = askHiddenCommand(match_.game(), kind, *ui_);
    // The board may have gone while the command's boxes were open.
    if (!turn_) return {};
    const Played played = match_.play(asked);
    if (!played.taken()) return {};
    turn_->bringForward(played.outcome);
    noteEnd();
    if (!turn_->shot()) keep();
    return played.outcome;
}

void GameSession::advanced() {
    if (turn_->judgedShots() == keptShots_) return;
    keptShots_ = turn_->judgedShots();
    noteEnd();
    keep();
}

void GameSession::noteEnd() {
    if (match_.game().gameRunning || !match_.record().ended.empty()) return;
    match_.setTimes(began_, now_ ? now_() : std::string());
}

bool GameSession::undoOrRedoPossible() const {
    return turn_ && !stopped_ && !turn_->running() && turn_->phase() != TurnPhase::Judging;
}

bool GameSession::personPlaysHere(int seat) const {
    const Game& g = match_.game();
    return g.isPlayer(seat) && g.seat(seat).kind == PlayerKind::Human && seatPlayedHere(seat);
}

bool GameSession::hasComputerSeats() const {
    const Game& g = match_.game();
    for (int i = 1; i <= g.playerCount(); ++i)
        if (!personPlaysHere(i)) return true;
    return false;
}

bool GameSession::canUndo() const { return undoOrRedoPossible() && match_.canUndo(); }

bool GameSession::canRedo() const { return undoOrRedoPossible() && match_.canRedo(); }

bool GameSession::undo() {
    if (!canUndo()) return false;
    endComputerTurn();
    match_.undo();
    // Back to the last turn a person here plays, past the computer's shots.
    if (hasComputerSeats())
        while (!personPlaysHere(match_.game().currentTurn) && match_.canUndo()) match_.undo();
    turn_->gameChanged();
    keep();
    return true;
}

bool GameSession::redo() {
    if (!canRedo()) return false;
    endComputerTurn();
    Played played = match_.redo();
    // The computer's recorded shots follow, up to the next turn of a person
    // here, so that it never shoots anew in between.
    if (hasComputerSeats())
        while (played.taken() && !personPlaysHere(match_.game().currentTurn) && match_.canRedo()) played = match_.redo();
    turn_->gameChanged();
    noteEnd();
    keep();
    return true;
}

void GameSession::keep() {
    // A game no longer played here is not kept: a game that does not run
    // tells the keeper to let the kept one go.
    if (keeper_) keeper_->keep(stopped_ ? Game{} : match_.game());
}

void GameSession::stopPlaying() {
    endComputerTurn();
    if (turn_) turn_->drop();
    playedHere_ = nullptr;
    stopped_ = true;
    keep();
}

ComputerTurn* GameSession::startComputerTurn(std::uint64_t seed) {
    if (computer_ && computer_->running()) return nullptr;
    computer_.reset();
    if (!turn_ || !seatIsComputer() || seatIsRemote() || (remote_ && remote_->running()) || turn_->running() ||
        turn_->phase() == TurnPhase::Judging)
        return nullptr;
    computer_ = std::make_unique<ComputerTurn>(*turn_, *ui_, seed);
    if (!computer_->running()) computer_.reset();
    return computer_.get();
}

void GameSession::endComputerTurn() {
    if (computer_) computer_->drop();
    if (remote_) remote_->drop();
}

bool GameSession::seatIsRemote() const {
    const Game& g = match_.game();
    return g.gameRunning && !seatPlayedHere(g.currentTurn) && (stopped_ || playedHere_);
}

RemoteShotTurn* GameSession::startRemoteShot(const ShotCommand& shot) {
    if ((remote_ && remote_->running()) || (computer_ && computer_->running())) return nullptr;
    remote_.reset();
    if (!turn_ || turn_->running() || turn_->phase() == TurnPhase::Judging) return nullptr;
    remote_ = std::make_unique<RemoteShotTurn>(*turn_, *ui_, shot);
    if (!remote_->running()) remote_.reset();
    return remote_.get();
}

Judgement GameSession::beginOnlineGame(const Game& served, const std::optional<NewGameSettings>& newGame) {
    if (newGame) {
        Judgement started = beginNewGame(*newGame);
        if (match_.game().hash() == served.hash()) return started;
    }
    endComputerTurn();
    if (turn_) turn_->drop();
    replaceMatch(Match(served));
    keep();
    return {};
}

}  // namespace capzel
