#include "match/RecordReplay.h"

#include <utility>

#include "match/RecordStart.h"

namespace capzel {

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

RecordReplay::RecordReplay(GameRecord record) : record_(std::move(record)) {
    std::vector<Announcement> said = record_.start.announcements;
    Game start = recordStartGame(record_, record_.setupStart ? &said : nullptr);
    start_.seat = start.currentTurn;
    match_ = Match(std::move(start), said);
    finish(start_, record_.start, std::move(said));
}

bool RecordReplay::done() const { return refused_ || next_ >= record_.entries.size(); }
bool RecordReplay::failed() const { return refused_ || differed_ || !start_.matches(); }

const RecordEntry* RecordReplay::upcoming() const { return done() ? nullptr : &record_.entries[next_]; }

void RecordReplay::finish(ReplayStep& step, const EntryOutcome& expected, std::vector<Announcement> said) {
    step.announcements = std::move(said);
    step.expectedHash = expected.hash;
    step.actualHash = match_.game().hash();
    step.announcementsMatch = step.announcements == expected.announcements;
    if (!step.matches()) differed_ = true;
}

std::string RecordReplay::playShot(const RecordedShot& shot, ReplayStep& step) {
    const std::string named = "shot " + std::to_string(step.shotNumber) + ": ";
    std::optional<Refusal> refused;
    ShotInPlay* inPlay = match_.launch(shot, &refused);
    if (!inPlay) return named + refused->text;
    while (!inPlay->resting()) inPlay->advance();
    if (inPlay->commandsLeft() > 0) {
        const MidShotCommand& late = shot.midShot[shot.midShot.size() - inPlay->commandsLeft()];
        const long end = inPlay->advances();
        match_.dropShot();
        return named + "a command at advance " + std::to_string(late.advance) + " comes after the shot's end (advance " +
               std::to_string(end) + ")";
    }
    step.announcements = match_.finishShot().announcements;
    return {};
}

ReplayStep RecordReplay::next() {
    ReplayStep step;
    if (done()) {
        step.error = "the record has no more entries";
        return step;
    }
    step.entry = next_++;
    const RecordEntry& entry = record_.entries[step.entry];
    step.seat = match_.game().currentTurn;
    step.shotNumber = shots_;
    std::vector<Announcement> said;
    if (const auto* shot = std::get_if<RecordedShot>(&entry)) {
        step.kind = EntryKind::Shot;
        step.shotNumber = ++shots_;
        step.seat = shot->seat;
        step.error = playShot(*shot, step);
        said = std::move(step.announcements);
    } else if (const auto* command = std::get_if<RecordedCommandEntry>(&entry)) {
        step.kind = EntryKind::Command;
        if (command->before) match_.putBoardInputs(*command->before);
        const Played played = match_.play(command->command);
        if (played.refusal)
            step.error = "entry " + std::to_string(step.entry) + ": " + played.refusal->text;
        else
            said = played.outcome.announcements;
    } else {
        step.kind = EntryKind::Undo;
        const auto& undo = std::get<RecordedUndo>(entry);
        if (undo.before) match_.putBoardInputs(*undo.before);
        if (!match_.undo()) step.error = "entry " + std::to_string(step.entry) + ": an undo with no shot to take back";
    }
    finish(step, outcomeOf(entry), std::move(said));
    if (!step.error.empty()) refused_ = true;
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

std::optional<Game> gameAfterShot(const GameRecord& record, int k, std::string* error) {
    const auto refuse = [&](std::string why) -> std::optional<Game> {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    if (k < 0 || k > record.shotCount())
        return refuse("the record has " + std::to_string(record.shotCount()) + " shots, not " + std::to_string(k));
    RecordReplay replay(record);
    if (!replay.startStep().matches()) return refuse(replay.startStep().describe());
    while (replay.shotNumber() < k) {
        const ReplayStep step = replay.next();
        if (!step.matches()) return refuse(step.describe());
    }
    return replay.game();
}

}  // namespace capzel
