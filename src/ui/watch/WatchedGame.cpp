#include "ui/watch/WatchedGame.h"

#include "match/RecordReplay.h"
#include "ui/watch/RecordWording.h"

namespace capzel::ui {

namespace {

std::vector<std::string> texts(const std::vector<Announcement>& said) {
    std::vector<std::string> out;
    for (const Announcement& a : said) out.push_back(a.text);
    return out;
}

std::string stopText(const ReplayStep& step, int shot) { return differenceText(step, shot); }

}  // namespace

std::unique_ptr<WatchedGame> WatchedGame::open(std::string_view recordText, std::string& refusal) {
    std::optional<GameRecord> record = readGameRecord(recordText, &refusal);
    if (!record) {
        refusal = refusalInListWords(refusal, recordText);
        return nullptr;
    }
    return std::make_unique<WatchedGame>(*record);
}

// A hidden command between two shots changes the game the next shot is
// launched from; the list tells what it announced with the shot before.
WatchedGame::WatchedGame(const GameRecord& record) {
    RecordReplay replay(record);
    standings_.takePlayers(replay.game());
    if (!replay.startStep().matches()) stopMessage_ = stopText(replay.startStep(), 1);
    after_.push_back(replay.game());
    standings_.addRow(replay.game());
    while (stopMessage_.empty() && !replay.done()) {
        Game before = replay.game();
        const auto* shot = std::get_if<RecordedShot>(replay.upcoming());
        const ReplayStep step = replay.next();
        if (!step.matches()) {
            stopMessage_ = stopText(step, shotCount() + 1);
            break;
        }
        if (step.kind == EntryKind::Command) {
            if (shots_.empty()) continue;
            for (std::string& text : texts(step.announcements)) shots_.back().said.push_back(std::move(text));
            after_.back() = replay.game();
            continue;
        }
        if (step.kind == EntryKind::Undo)
            shots_.push_back({0, "The last shot was taken back.", {}});
        else
            shots_.push_back({shot->seat, replay.game().seat(shot->seat).name, texts(step.announcements)});
        before_.push_back(std::move(before));
        commands_.push_back(shot ? ShotCommand(*shot) : ShotCommand{});
        after_.push_back(replay.game());
        standings_.addRow(replay.game());
    }
}

}  // namespace capzel::ui
