#include "ui/watch/WatchedGame.h"

#include "controls/TurnController.h"
#include "session/RecordReplay.h"
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
    const auto keep = [&replay] { return GamePosition{replay.state(), replay.field()}; };
    standings_.takePlayers(replay.state());
    if (!replay.startStep().matches()) {
        stopMessage_ = stopText(replay.startStep(), 1);
    }
    after_.push_back(keep());
    standings_.addRow(replay.state());
    while (stopMessage_.empty() && !replay.done()) {
        GamePosition launch = keep();
        const auto* shot = std::get_if<RecordedShot>(replay.upcoming());
        if (shot) applyShotInputs(*shot, launch.state, launch.field);
        const ReplayStep step = replay.next();
        if (!step.matches()) {
            stopMessage_ = stopText(step, shotCount() + 1);
            break;
        }
        if (step.kind == EntryKind::Command) {
            if (shots_.empty()) continue;
            for (std::string& text : texts(step.announcements)) shots_.back().said.push_back(std::move(text));
            after_.back() = keep();
            continue;
        }
        if (step.kind == EntryKind::Undo) {
            shots_.push_back({0, "The last shot was taken back.", {}});
            launch_.push_back(std::move(launch));
            changes_.emplace_back();
            after_.push_back(keep());
            standings_.addRow(replay.state());
            continue;
        }
        const int seat = shot ? shot->seat : step.seat;
        shots_.push_back({seat, replay.state().playerName[std::size_t(seat)], texts(step.announcements)});
        launch_.push_back(std::move(launch));
        changes_.push_back(replay.lastShot()->changes);
        after_.push_back(keep());
        standings_.addRow(replay.state());
    }
}

void WatchedShotRun::begin(const std::vector<MidShotChange>& changes) {
    changes_ = changes;
    nextChange_ = 0;
    advances_ = 0;
}

bool WatchedShotRun::running() const { return turn_.running(); }
long WatchedShotRun::wait() const { return turn_.wait(); }
bool WatchedShotRun::shotUnderWay() const { return turn_.shotUnderWay(); }

GameFlow WatchedShotRun::advance() {
    for (; nextChange_ < changes_.size() && changes_[nextChange_].advance <= advances_; ++nextChange_) {
        g_ = changes_[nextChange_].state;
        field_ = changes_[nextChange_].field;
    }
    ++advances_;
    return turn_.advance();
}

}  // namespace capzel::ui
