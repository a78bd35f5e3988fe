#include "match/Match.h"

#include "rules/HiddenCommands.h"

#include <algorithm>
#include <utility>

namespace capzel {

Game gameAtLaunch(const Game& before, const ShotCommand& shot) {
    Game g = before;
    putShotInputs(g, shot);
    return g;
}

void restoreLaunch(Game& now, const Game& atLaunch) {
    Game g = atLaunch;
    g.wallsOn = now.wallsOn;
    g.shotInProgress = false;
    g.launchStrength = 0;
    // The field keeps its walls, holder, edges and aim line as they are.
    Board& b = g.board;
    const Board& kept = now.board;
    b.walls = kept.walls;
    b.pieceHolder = kept.pieceHolder;
    b.leftLine = kept.leftLine;
    b.rightLine = kept.rightLine;
    b.scaleWidth = kept.scaleWidth;
    b.scaleHeight = kept.scaleHeight;
    b.pointer = kept.pointer;
    b.pointer.visible = false;
    now = std::move(g);
}

Match::Match(Game start, std::vector<Announcement> said) : game_(std::move(start)) {
    record_.startGame = game_;
    record_.start = {game_.hash(), std::move(said)};
}

Match::~Match() = default;
Match::Match(Match&&) noexcept = default;
Match& Match::operator=(Match&&) noexcept = default;

std::optional<Refusal> Match::validate(const Command& command) const {
    if (inPlay_ && std::holds_alternative<ShotCommand>(command))
        return Refusal{RefusalCode::ShotUnderWay, "A shot is under way."};
    return capzel::validate(game_, command);
}

void Match::log(RecordEntry entry) { record_.entries.push_back(std::move(entry)); }

void Match::noteWinner(const std::vector<Announcement>& said) {
    if (record_.winner) return;
    const auto won = std::find_if(said.begin(), said.end(), [](const Announcement& a) { return a.kind == AnnouncementKind::Win; });
    if (won != said.end() && won->player >= 1) record_.winner = won->player;
}

Played Match::play(const Command& command) {
    Played played;
    played.refusal = validate(command);
    if (played.refusal) return played;
    if (const auto* hidden = std::get_if<HiddenCommand>(&command)) {
        static_cast<Judgement&>(played.outcome) =
            inPlay_ ? inPlay_->runCommand(*hidden) : runHiddenCommand(game_, *hidden);
        played.outcome.hash = game_.hash();
        if (inPlay_) {
            inPlayCommands_.push_back({inPlay_->advances(), *hidden});
            return played;
        }
        redoable_.clear();
        log(RecordedCommandEntry{std::nullopt, *hidden, {played.outcome.hash, played.outcome.announcements}});
        noteWinner(played.outcome.announcements);
        return played;
    }
    launch(std::get<ShotCommand>(command));
    played.outcome = finishShot();
    return played;
}

ShotInPlay* Match::launch(const ShotCommand& shot, std::optional<Refusal>* refusal) {
    ShotInPlay* inPlay = launchShot(shot, refusal);
    // A new shot: the shots taken back are not played again.
    if (inPlay) redoable_.clear();
    return inPlay;
}

ShotInPlay* Match::launchShot(const ShotCommand& shot, std::optional<Refusal>* refusal) {
    std::optional<Refusal> refused = validate(shot);
    if (refusal) *refusal = refused;
    if (refused) return nullptr;
    beforeInPlay_ = game_;
    inPlayCommands_.clear();
    inPlay_ = std::make_unique<ShotInPlay>(game_, shot);
    return inPlay_.get();
}

Outcome Match::finishShot() {
    if (!inPlay_) return {};
    while (!inPlay_->resting()) inPlay_->advance();
    Outcome outcome = inPlay_->judge();
    RecordedShot entry;
    static_cast<ShotCommand&>(entry) = inPlay_->command();
    // Live commands and those the shot carried, in the order of their advances.
    for (MidShotCommand& c : inPlayCommands_) entry.midShot.push_back(std::move(c));
    std::stable_sort(entry.midShot.begin(), entry.midShot.end(),
                     [](const MidShotCommand& a, const MidShotCommand& b) { return a.advance < b.advance; });
    entry.outcome = {outcome.hash, outcome.announcements};
    launches_.push_back({gameAtLaunch(beforeInPlay_, entry), record_.entries.size()});
    log(std::move(entry));
    noteWinner(outcome.announcements);
    inPlay_.reset();
    inPlayCommands_.clear();
    return outcome;
}

void Match::dropShot() {
    if (!inPlay_) return;
    inPlay_.reset();
    inPlayCommands_.clear();
    game_ = beforeInPlay_;
}

bool Match::canUndo() const { return !inPlay_ && game_.gameRunning && !launches_.empty(); }

bool Match::undo() {
    if (!canUndo()) return false;
    const Launch last = launches_.back();
    launches_.pop_back();
    restoreLaunch(game_, last.atLaunch);
    redoable_.push_back(std::get<RecordedShot>(record_.entries[last.entry]));
    log(RecordedUndo{std::nullopt, {game_.hash(), {}}});
    return true;
}

bool Match::canRedo() const { return !inPlay_ && game_.gameRunning && !redoable_.empty(); }

Played Match::redo() {
    Played played;
    if (!canRedo()) {
        played.refusal = Refusal{RefusalCode::Other, "There is no shot to play again."};
        return played;
    }
    const ShotCommand shot = redoable_.back();
    launchShot(shot, &played.refusal);
    if (played.refusal) return played;
    redoable_.pop_back();
    played.outcome = finishShot();
    return played;
}

const RecordedShot* Match::lastShot() const {
    return launches_.empty() ? nullptr : &std::get<RecordedShot>(record_.entries[launches_.back().entry]);
}

const Game* Match::gameAtLastLaunch() const { return launches_.empty() ? nullptr : &launches_.back().atLaunch; }

void Match::putBoardInputs(const BoardInputs& before) {
    Game& g = game_;
    if (before.placement && g.isPlayer(g.currentTurn)) {
        g.piece(g.currentTurn).left = before.placement->left;
        g.piece(g.currentTurn).top = before.placement->top;
    }
    Line& aim = g.board.pointer;
    aim.x1 = before.pointer.x1;
    aim.y1 = before.pointer.y1;
    aim.x2 = before.pointer.x2;
    aim.y2 = before.pointer.y2;
    aim.visible = before.pointer.visible;
    g.launchStrength = before.power;
}

void Match::setTimes(std::string began, std::string ended) {
    record_.began = std::move(began);
    record_.ended = std::move(ended);
}

}  // namespace capzel
