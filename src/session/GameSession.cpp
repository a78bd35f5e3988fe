#include "session/GameSession.h"

#include <algorithm>

#include "records/SavedGameState.h"
#include "rules/TurnStart.h"
#include "session/RecordReplay.h"

namespace capzel {

namespace {

// The board's platform, with every input box's answer kept for the record.
class AnswerRecorder final : public Platform {
public:
    explicit AnswerRecorder(Platform& ui) : ui_(ui) {}
    std::vector<std::string> answers;

    void message(std::string_view text) override { ui_.message(text); }
    bool askYesNo(std::string_view text) override { return ui_.askYesNo(text); }
    std::string inputBox(std::string_view prompt) override { return answers.emplace_back(ui_.inputBox(prompt)); }
    double clock() override { return ui_.clock(); }
    void beep() override { ui_.beep(); }
    void setBusy(bool busy) override { ui_.setBusy(busy); }
    std::string chooseFileToOpen(std::string_view filter, std::string_view pattern,
                                 std::string_view startFolder) override {
        return ui_.chooseFileToOpen(filter, pattern, startFolder);
    }
    std::string chooseFileToSave(std::string_view filter, std::string_view pattern) override {
        return ui_.chooseFileToSave(filter, pattern);
    }
    std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) override {
        return ui_.readFile(path, maxBytes);
    }
    std::string writeFile(const std::string& path, std::string_view content) override {
        return ui_.writeFile(path, content);
    }

private:
    Platform& ui_;
};

// The shot entries still in effect once the undos have taken theirs back.
std::vector<std::size_t> shotsInEffect(const GameRecord& record) {
    std::vector<std::size_t> shots;
    for (std::size_t k = 0; k < record.entries.size(); ++k) {
        if (std::holds_alternative<RecordedShot>(record.entries[k])) shots.push_back(k);
        if (std::holds_alternative<RecordedUndo>(record.entries[k]) && !shots.empty()) shots.pop_back();
    }
    return shots;
}

}  // namespace

BoardInputs GameSession::boardInputs() const {
    const Line& aim = field_.board.pointer;
    BoardInputs in{{aim.x1, aim.y1, aim.x2, aim.y2, aim.visible}, g_.power, std::nullopt};
    if (turn_ && turn_->placedByHand() && g_.isPlayer(g_.currentTurn)) {
        const Box& piece = field_.board.pieces[g_.currentTurn];
        in.placement = HandPlacement{piece.left, piece.top};
    }
    return in;
}

std::shared_ptr<TurnController> GameSession::openBoard(Platform& ui) {
    endComputerTurn();
    if (turn_) turn_->drop();
    field_ = Field{};
    ui_ = &ui;
    turn_ = std::make_shared<TurnController>(context());
    keptShots_ = 0;
    recordedShots_ = 0;
    return turn_;
}

void GameSession::closeBoard(const Platform& ui) {
    if (ui_ != &ui) return;
    recordJudgedShot();
    endComputerTurn();
    turn_->drop();
    turn_.reset();
    ui_ = nullptr;
}

GameContext GameSession::context() { return GameContext{g_, field_, *ui_}; }

Judgement GameSession::beginNewGame(const NewGameSettings& settings) {
    GameContext ctx = context();
    applyNewGame(ctx, settings);
    return startFirstTurn(newGameSetup(settings));
}

Judgement GameSession::beginSavedGame(const SavedGame& game) { return beginGame(savedGameSetup(game)); }

Judgement GameSession::beginGame(const GameSetup& setup) {
    // What the old game left on the field (a charge, a shot) goes with it.
    recordJudgedShot();
    endComputerTurn();
    turn_->drop();
    GameContext ctx = context();
    buildGame(ctx, setup);
    return startFirstTurn(setup);
}

// The record begins with the game as built: the walls as they are now,
// every seat's colour, which the setup may leave as they stood, and the
// pieces painted in them as the window will show them.
Judgement GameSession::startFirstTurn(const GameSetup& setup) {
    paintPlayerColors(g_, field_);
    keep();
    record_ = GameRecord{};
    record_.setup = setup;
    record_.setup.walls = g_.wallsOn;
    for (std::size_t i = 0; i < record_.setup.seats.size(); ++i)
        record_.setup.seats[i].color = g_.playerColor[i + 1];
    record_.field = recordField(field_);
    record_.began = now_ ? now_() : std::string();
    redoable_.clear();
    shotCommands_.clear();
    recordedShots_ = turn_->judgedShots();
    GameContext ctx = context();
    Judgement started = startTurn(ctx, g_.currentTurn);
    turn_->bringForward(started);
    record_.start = {gameHash(g_, field_), started.announcements};
    noteEnd(started.announcements);
    return started;
}

Judgement GameSession::runCommand(GameCommand command) {
    recordJudgedShot();
    const BoardInputs before = boardInputs();
    AnswerRecorder recorder(*ui_);
    GameContext ctx{g_, field_, recorder};
    Judgement said = command(ctx);
    const std::optional<RecordedCommand> recorded = recordedCommand(command);
    // The board may have gone while the command's boxes were open.
    if (turn_) {
        turn_->bringForward(said);
        turn_->gameChangedByCommand();
    }
    if (!recorded || record_.setup.seats.empty()) return said;
    CommandInput input{*recorded, std::move(recorder.answers)};
    const LastShot* shot = turn_ && turn_->shot() ? turn_->lastShot() : nullptr;
    if (shot && !shot->changes.empty()) {
        shotCommands_.push_back({shot->changes.back().advance, std::move(input)});
    } else {
        redoable_.clear();
        recordEntry(RecordedCommandEntry{before, std::move(input), {gameHash(g_, field_), said.announcements}});
        noteEnd(said.announcements);
    }
    return said;
}

void GameSession::advanced() {
    recordJudgedShot();
    if (turn_->judgedShots() == keptShots_) return;
    keptShots_ = turn_->judgedShots();
    keep();
}

RecordedShot launchedShotInputs(const LastShot& last) {
    RecordedShot shot;
    shot.seat = last.startState.currentTurn;
    const Line& aim = last.startField.board.pointer;
    shot.x1 = aim.x1;
    shot.y1 = aim.y1;
    shot.x2 = aim.x2;
    shot.y2 = aim.y2;
    shot.power = last.startState.power;
    if (last.placedByHand && shot.seat >= 1 && shot.seat <= kMaxPlayers) {
        const Box& piece = last.startField.board.pieces[shot.seat];
        shot.placement = HandPlacement{piece.left, piece.top};
    }
    return shot;
}

void GameSession::recordJudgedShot() {
    if (!turn_ || turn_->judgedShots() == recordedShots_) return;
    recordedShots_ = turn_->judgedShots();
    const LastShot* last = turn_->lastShot();
    if (!last || !last->judged || record_.setup.seats.empty()) return;
    RecordedShot shot = launchedShotInputs(*last);
    shot.commands = std::move(shotCommands_);
    shotCommands_.clear();
    shot.outcome = {last->judgedHash, last->announcements};
    redoable_.clear();
    recordEntry(std::move(shot));
    noteEnd(last->announcements);
}

void GameSession::recordEntry(RecordEntry entry) { record_.entries.push_back(std::move(entry)); }

void GameSession::noteEnd(const std::vector<Announcement>& said) {
    if (g_.gameRunning || !record_.ended.empty()) return;
    record_.ended = now_ ? now_() : std::string();
    const auto won = std::find_if(said.begin(), said.end(), [](const Announcement& a) { return a.kind == AnnouncementKind::Win; });
    if (won != said.end() && won->player >= 1) record_.winner = won->player;
}

bool GameSession::undoOrRedoPossible() const {
    return turn_ && g_.gameRunning && !turn_->running() && turn_->phase() != TurnPhase::Judging;
}

bool GameSession::canUndo() const {
    return undoOrRedoPossible() && (turn_->canUndo() || !shotsInEffect(record_).empty());
}

bool GameSession::canRedo() const { return undoOrRedoPossible() && !redoable_.empty(); }

bool GameSession::undo() {
    recordJudgedShot();
    if (!canUndo()) return false;
    const std::vector<std::size_t> shots = shotsInEffect(record_);
    const BoardInputs before = boardInputs();
    if (turn_->canUndo()) {
        // The last shot is taken back by the turn itself, as it always was.
        turn_->undo();
        recordEntry(RecordedUndo{before, {gameHash(g_, field_), {}}});
    } else {
        GameRecord undone = record_;
        undone.entries.emplace_back(RecordedUndo{before, {}});
        if (!restoreFromRecord(undone, false)) return false;
        record_ = std::move(undone);
    }
    if (!shots.empty()) redoable_.push_back(std::get<RecordedShot>(record_.entries[shots.back()]));
    keep();
    return true;
}

bool GameSession::redo() {
    recordJudgedShot();
    if (!canRedo()) return false;
    GameRecord redone = record_;
    redone.entries.emplace_back(redoable_.back());
    if (!restoreFromRecord(redone, true)) return false;
    record_ = std::move(redone);
    redoable_.pop_back();
    noteEnd(outcomeOf(record_.entries.back()).announcements);
    keep();
    return true;
}

bool GameSession::restoreFromRecord(GameRecord& record, bool lastKnown) {
    RecordReplay replay(record);
    if (!replay.startStep().matches()) return false;
    ReplayStep step;
    while (!replay.done()) {
        step = replay.next();
        const bool last = step.entry + 1 == record.entries.size();
        if (!step.error.empty() || ((lastKnown || !last) && !step.matches())) return false;
    }
    std::visit([&](auto& e) { e.outcome = {step.actualHash, step.announcements}; }, record.entries.back());
    applySnapshot(captureSnapshot(replay.state(), replay.field()), g_, field_);
    return true;
}

void GameSession::keep() {
    if (keeper_) keeper_->keep(g_, field_);
}

ComputerTurn* GameSession::startComputerTurn(std::uint64_t seed) {
    if (computer_ && computer_->running()) return nullptr;
    computer_.reset();
    if (!seatIsComputer() || seatIsRemote() || (remote_ && remote_->running()) || turn_->running() || turn_->phase() == TurnPhase::Judging) return nullptr;
    computer_ = std::make_unique<ComputerTurn>(*turn_, context(), seed);
    if (!computer_->running()) computer_.reset();
    return computer_.get();
}

void GameSession::endComputerTurn() {
    if (computer_) computer_->drop();
    if (remote_) remote_->drop();
}

bool GameSession::seatIsRemote() const { return playedHere_ && g_.gameRunning && !playedHere_(g_.currentTurn); }

RemoteShotTurn* GameSession::startRemoteShot(const RecordedShot& shot) {
    if ((remote_ && remote_->running()) || (computer_ && computer_->running())) return nullptr;
    remote_.reset();
    if (!turn_ || turn_->running() || turn_->phase() == TurnPhase::Judging) return nullptr;
    remote_ = std::make_unique<RemoteShotTurn>(*turn_, context(), shot);
    if (!remote_->running()) remote_.reset();
    return remote_.get();
}

Judgement GameSession::beginOnlineGame(const GameSnapshot& snapshot, const std::optional<NewGameSettings>& newGame) {
    if (newGame) {
        Judgement started = beginNewGame(*newGame);
        if (gameHash(g_, field_) == stateHash(snapshot)) return started;
    }
    recordJudgedShot();
    endComputerTurn();
    turn_->drop();
    applySnapshot(snapshot, g_, field_);
    paintPlayerColors(g_, field_);
    record_ = GameRecord{};
    redoable_.clear();
    shotCommands_.clear();
    recordedShots_ = turn_->judgedShots();
    keep();
    return {};
}

}  // namespace capzel
