#include "session/RecordReplay.h"

#include <algorithm>
#include <array>
#include <utility>

#include "controls/LastShot.h"
#include "controls/TurnController.h"
#include "platform/SilentPlatform.h"
#include "rules/TurnStart.h"

namespace capzel {

namespace {

// Advances a shot may take before the replay gives it up as one that never
// rests (a friction of 100 keeps pieces moving for ever): far more than any
// shot of a real game takes.
constexpr long kMaxShotAdvances = 20'000'000;

constexpr std::array<GameCommand, kRecordedCommandCaptions.size()> kCommands = {
    setPositionCommand, setFrictionCommand, setSpeedCommand, setPieceCommand, setInGameCommand};

// Nobody watches: the input boxes get the record's answers in order, and a
// Cancel once they run out.
class AnsweringPlatform final : public SilentPlatform {
public:
    void answerWith(const std::vector<std::string>& answers) {
        answers_ = &answers;
        next_ = 0;
    }
    std::string inputBox(std::string_view) override {
        return answers_ && next_ < answers_->size() ? (*answers_)[next_++] : std::string();
    }
    void message(std::string_view) override {}

private:
    const std::vector<std::string>* answers_ = nullptr;
    std::size_t next_ = 0;
};

}  // namespace

GameCommand commandFunction(RecordedCommand command) { return kCommands[std::size_t(command)]; }

std::optional<RecordedCommand> recordedCommand(GameCommand command) {
    for (std::size_t k = 0; k < kCommands.size(); ++k)
        if (kCommands[k] == command) return RecordedCommand(k);
    return std::nullopt;
}

void applyShotInputs(const RecordedShot& shot, GameState& g, Field& field) {
    Board& b = field.board;
    if (shot.placement && g.isPlayer(shot.seat)) {
        b.pieces[shot.seat].left = shot.placement->left;
        b.pieces[shot.seat].top = shot.placement->top;
    }
    b.pointer.x1 = shot.x1;
    b.pointer.y1 = shot.y1;
    b.pointer.x2 = shot.x2;
    b.pointer.y2 = shot.y2;
    b.pointer.visible = true;
    g.power = shot.power;
}

std::string playShotThrough(TurnController& turn, GameState& g, Field& field, const RecordedShot& shot,
                            const std::function<void(const CommandInput&)>& runCommand) {
    applyShotInputs(shot, g, field);
    turn.startShot();
    if (turn.shot() == nullptr) return "the shot cannot be launched";
    long advances = 0;
    std::size_t c = 0;
    while (turn.shot() != nullptr) {
        for (; c < shot.commands.size() && shot.commands[c].advance == advances; ++c) runCommand(shot.commands[c].input);
        if (c < shot.commands.size() && shot.commands[c].advance < advances)
            return "its commands are not in the order of their advances";
        if (advances == kMaxShotAdvances) return "the pieces never come to rest";
        turn.advance();
        ++advances;
    }
    if (c < shot.commands.size())
        return "a command at advance " + std::to_string(shot.commands[c].advance) + " comes after the shot's end (advance " +
               std::to_string(advances) + ")";
    return {};
}

RecordedShot plannedShotInputs(const GameState& g, const Field& field, const players::PlannedShot& shot) {
    const int seat = std::clamp<int>(g.currentTurn, 1, kMaxPlayers);
    const Box& piece = field.board.pieces[seat];
    RecordedShot r;
    r.seat = g.currentTurn;
    r.x1 = players::aimStartX(piece);
    r.y1 = players::aimStartY(piece);
    r.x2 = shot.aimX;
    r.y2 = shot.aimY;
    r.power = players::barStrength(field.board, shot.barTicks);
    return r;
}

std::string ReplayStep::describe() const {
    std::string line = kind == EntryKind::Start ? "start" : kind == EntryKind::Shot ? "shot " + std::to_string(shotNumber)
                                                          : kind == EntryKind::Command ? "command (entry " + std::to_string(entry) + ")"
                                                                                       : "undo (entry " + std::to_string(entry) + ")";
    line += " seat " + std::to_string(seat) + " " + hashText(actualHash);
    if (!error.empty()) return line + " refused: " + error;
    if (expectedHash != actualHash) return line + " mismatch: the record has " + hashText(expectedHash);
    if (!announcementsMatch) return line + " mismatch: the announcements differ from the record's";
    return line + " ok";
}

struct RecordReplay::Run {
    explicit Run(GameRecord r) : record(std::move(r)), turn(GameContext{g, field, ui}) {}

    GameRecord record;
    GameState g;
    Field field;
    AnsweringPlatform ui;
    TurnController turn;
    std::vector<LastShot> launches;  // the starts of the shots still in effect
    ReplayStep start;
    std::size_t next = 0;
    int shots = 0;
    bool refused = false;
    bool differed = false;

    GameContext context() { return GameContext{g, field, ui}; }

    // A hidden command as the session runs it, its boxes answered.
    Judgement runCommand(const CommandInput& input) {
        ui.answerWith(input.answers);
        GameContext ctx = context();
        Judgement said = commandFunction(input.command)(ctx);
        ui.answerWith({});
        turn.bringForward(said);
        turn.gameChangedByCommand();
        return said;
    }

    std::string playShot(const RecordedShot& shot, ReplayStep& step);
    std::string putBoardInputs(const BoardInputs& before, const ReplayStep& step);
    void finish(ReplayStep& step, const EntryOutcome& expected, std::vector<Announcement> said);
};

std::string RecordReplay::Run::playShot(const RecordedShot& shot, ReplayStep& step) {
    const std::string named = "shot " + std::to_string(step.shotNumber) + ": ";
    if (!g.gameRunning) return named + "the game is over";
    if (shot.seat != g.currentTurn)
        return named + "seat " + std::to_string(shot.seat) + " shoots, but it is seat " + std::to_string(g.currentTurn) +
               "'s turn";
    if (shot.placement && !g.moveableNextTurn[shot.seat])
        return named + "the piece is placed by hand where the rules allow no placing";
    const std::string why = playShotThrough(turn, g, field, shot, [this](const CommandInput& c) { runCommand(c); });
    if (!why.empty()) return named + why;
    launches.push_back(*turn.lastShot());
    return {};
}

void RecordReplay::Run::finish(ReplayStep& step, const EntryOutcome& expected, std::vector<Announcement> said) {
    step.announcements = std::move(said);
    step.expectedHash = expected.hash;
    step.actualHash = gameHash(g, field);
    step.announcementsMatch = step.announcements == expected.announcements;
    if (!step.matches()) differed = true;
}

std::string RecordReplay::Run::putBoardInputs(const BoardInputs& before, const ReplayStep& step) {
    if (before.placement && !(g.isPlayer(g.currentTurn) && g.moveableNextTurn[g.currentTurn]))
        return "entry " + std::to_string(step.entry) + ": the piece is placed by hand where the rules allow no placing";
    Board& b = field.board;
    if (before.placement) {
        b.pieces[g.currentTurn].left = before.placement->left;
        b.pieces[g.currentTurn].top = before.placement->top;
    }
    b.pointer.x1 = before.pointer.x1;
    b.pointer.y1 = before.pointer.y1;
    b.pointer.x2 = before.pointer.x2;
    b.pointer.y2 = before.pointer.y2;
    b.pointer.visible = before.pointer.visible;
    g.power = before.power;
    return {};
}

RecordReplay::RecordReplay(GameRecord record) : run_(std::make_unique<Run>(std::move(record))) {
    Run& r = *run_;
    GameContext ctx = r.context();
    buildGame(ctx, r.record.setup);
    applyRecordedField(r.record.field, r.field);
    paintPlayerColors(r.g, r.field);
    r.start.seat = r.g.currentTurn;
    Judgement started = startTurn(ctx, r.g.currentTurn);
    r.turn.bringForward(started);
    r.finish(r.start, r.record.start, std::move(started.announcements));
}

RecordReplay::~RecordReplay() = default;
RecordReplay::RecordReplay(RecordReplay&&) noexcept = default;
RecordReplay& RecordReplay::operator=(RecordReplay&&) noexcept = default;

const ReplayStep& RecordReplay::startStep() const { return run_->start; }
bool RecordReplay::done() const { return run_->refused || run_->next >= run_->record.entries.size(); }
bool RecordReplay::failed() const { return run_->refused || run_->differed || !run_->start.matches(); }
const GameState& RecordReplay::state() const { return run_->g; }
const Field& RecordReplay::field() const { return run_->field; }
int RecordReplay::shotNumber() const { return run_->shots; }
std::size_t RecordReplay::nextEntry() const { return run_->next; }
const GameRecord& RecordReplay::record() const { return run_->record; }
const LastShot* RecordReplay::lastShot() const { return run_->turn.lastShot(); }

const RecordEntry* RecordReplay::upcoming() const {
    return done() ? nullptr : &run_->record.entries[run_->next];
}

ReplayStep RecordReplay::next() {
    Run& r = *run_;
    ReplayStep step;
    if (done()) {
        step.error = "the record has no more entries";
        return step;
    }
    step.entry = r.next++;
    const RecordEntry& entry = r.record.entries[step.entry];
    step.seat = r.g.currentTurn;
    step.shotNumber = r.shots;
    std::vector<Announcement> said;
    if (const auto* shot = std::get_if<RecordedShot>(&entry)) {
        step.kind = EntryKind::Shot;
        step.shotNumber = ++r.shots;
        step.seat = shot->seat;
        step.error = r.playShot(*shot, step);
        said = r.turn.takeAnnouncements();
    } else if (const auto* command = std::get_if<RecordedCommandEntry>(&entry)) {
        step.kind = EntryKind::Command;
        step.error = r.putBoardInputs(command->before, step);
        if (step.error.empty()) said = r.runCommand(command->input).announcements;
    } else {
        step.kind = EntryKind::Undo;
        step.error = r.putBoardInputs(std::get<RecordedUndo>(entry).before, step);
        if (!step.error.empty()) {
        } else if (r.launches.empty()) {
            step.error = "entry " + std::to_string(step.entry) + ": an undo with no shot to take back";
        } else {
            restoreShotStart(r.launches.back(), r.g, r.field);
            r.launches.pop_back();
        }
    }
    r.finish(step, outcomeOf(entry), std::move(said));
    if (!step.error.empty()) r.refused = true;
    return step;
}

ReplayCheck replayWholeRecord(const GameRecord& record) {
    RecordReplay replay(record);
    ReplayCheck check;
    if (!replay.startStep().matches()) {
        check.firstMismatch = replay.startStep();
        return check;
    }
    while (!replay.done()) {
        ReplayStep step = replay.next();
        if (step.kind == EntryKind::Shot) check.shotsChecked = step.shotNumber;
        if (!step.matches()) {
            check.firstMismatch = std::move(step);
            break;
        }
    }
    return check;
}

bool restoreToShot(const GameRecord& record, int k, GameState& g, Field& field, std::string* error) {
    const auto refuse = [&](std::string why) {
        if (error) *error = std::move(why);
        return false;
    };
    if (k < 0 || k > record.shotCount())
        return refuse("the record has " + std::to_string(record.shotCount()) + " shots, not " + std::to_string(k));
    RecordReplay replay(record);
    if (!replay.startStep().matches()) return refuse(replay.startStep().describe());
    while (replay.shotNumber() < k) {
        const ReplayStep step = replay.next();
        if (!step.matches()) return refuse(step.describe());
    }
    g = replay.state();
    field = replay.field();
    return true;
}

}  // namespace capzel
