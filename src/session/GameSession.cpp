#include "session/GameSession.h"

#include "records/SavedGameState.h"
#include "rules/TurnStart.h"

namespace capzel {

std::shared_ptr<TurnController> GameSession::openBoard(Platform& ui) {
    endComputerTurn();
    if (turn_) turn_->drop();
    field_ = Field{};
    ui_ = &ui;
    turn_ = std::make_shared<TurnController>(context());
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

GameContext GameSession::context() { return GameContext{g_, field_, *ui_}; }

Judgement GameSession::beginNewGame(const NewGameSettings& settings) {
    GameContext ctx = context();
    applyNewGame(ctx, settings);
    return startFirstTurn(GameSetup{});
}

Judgement GameSession::beginSavedGame(const SavedGame& game) {
    // What the old game left on the field (a charge, a shot) goes with it.
    endComputerTurn();
    turn_->drop();
    GameContext ctx = context();
    applySavedGame(ctx, game);
    return startFirstTurn(GameSetup{});
}

Judgement GameSession::startFirstTurn(const GameSetup&) {
    keep();
    GameContext ctx = context();
    Judgement started = startTurn(ctx, g_.currentTurn);
    turn_->bringForward(started);
    return started;
}

Judgement GameSession::runCommand(GameCommand command) {
    GameContext ctx = context();
    Judgement said = command(ctx);
    // The board may have gone while the command's boxes were open.
    if (turn_) {
        turn_->bringForward(said);
        turn_->gameChangedByCommand();
    }
    return said;
}

void GameSession::advanced() {
    if (turn_->judgedShots() == keptShots_) return;
    keptShots_ = turn_->judgedShots();
    keep();
}

bool GameSession::canUndo() const { return turn_ && turn_->canUndo(); }
bool GameSession::canRedo() const { return false; }
bool GameSession::redo() { return false; }

bool GameSession::undo() {
    if (!turn_->undo()) return false;
    keep();
    return true;
}

void GameSession::keep() {
    if (keeper_) keeper_->keep(g_, field_);
}

ComputerTurn* GameSession::startComputerTurn(std::uint64_t seed) {
    if (computer_ && computer_->running()) return nullptr;
    computer_.reset();
    if (!seatIsComputer() || turn_->running() || turn_->phase() == TurnPhase::Judging) return nullptr;
    computer_ = std::make_unique<ComputerTurn>(*turn_, context(), seed);
    if (!computer_->running()) computer_.reset();
    return computer_.get();
}

void GameSession::endComputerTurn() {
    if (computer_) computer_->drop();
}

}  // namespace capzel
