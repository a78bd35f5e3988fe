#include "session/RecordReplay.h"

namespace capzel {

struct RecordReplay::Run {
    GameRecord record;
    GameState g;
    Field field;
    ReplayStep start;
};

std::string ReplayStep::describe() const { return error; }
RecordReplay::RecordReplay(GameRecord record) : run_(std::make_unique<Run>()) { run_->record = std::move(record); }
RecordReplay::~RecordReplay() = default;
RecordReplay::RecordReplay(RecordReplay&&) noexcept = default;
RecordReplay& RecordReplay::operator=(RecordReplay&&) noexcept = default;
const ReplayStep& RecordReplay::startStep() const { return run_->start; }
bool RecordReplay::done() const { return true; }
ReplayStep RecordReplay::next() { return {}; }
bool RecordReplay::failed() const { return true; }
const GameState& RecordReplay::state() const { return run_->g; }
const Field& RecordReplay::field() const { return run_->field; }
int RecordReplay::shotNumber() const { return 0; }
const RecordEntry* RecordReplay::upcoming() const { return nullptr; }
std::size_t RecordReplay::nextEntry() const { return 0; }
const GameRecord& RecordReplay::record() const { return run_->record; }
GameCommand commandFunction(RecordedCommand) { return setPositionCommand; }
std::optional<RecordedCommand> recordedCommand(GameCommand) { return std::nullopt; }
void applyShotInputs(const RecordedShot&, GameState&, Field&) {}
ReplayCheck replayWholeRecord(const GameRecord&) { return {0, ReplayStep{}}; }
bool restoreToShot(const GameRecord&, int, GameState&, Field&, std::string* error) {
    if (error) *error = "not yet";
    return false;
}

}  // namespace capzel
