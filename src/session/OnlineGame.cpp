#include "session/OnlineGame.h"

#include <algorithm>
#include <utility>

#include "records/GameText.h"

namespace capzel {

OnlineGame::~OnlineGame() { session_.setSeatsPlayedHere(nullptr); }

void OnlineGame::onJoined(const protocol::Joined& joined) {
    joined_ = true;
    code_ = joined.code;
    token_ = joined.token;
    mine_ = joined.mine;
    host_ = joined.host;
    seats_ = joined.seats;
    session_.setSeatsPlayedHere([this](int seat) { return offline_ || seatIsMine(seat); });
}

bool OnlineGame::seatIsMine(int seat) const { return std::find(mine_.begin(), mine_.end(), seat) != mine_.end(); }

std::string OnlineGame::waitingText() const {
    std::vector<std::string> names;
    for (const protocol::SeatStatus& s : seats_)
        if (s.presence == protocol::SeatPresence::Waiting) names.push_back(s.name);
    if (names.empty()) return {};
    std::string who = names.front();
    for (std::size_t k = 1; k < names.size(); ++k) who += (k + 1 == names.size() ? " and " : ", ") + names[k];
    return "Waiting for " + who + "\u2026";
}

// A game the server has only just begun is begun here as the server began
// it, from the same choices, so that its record holds it from its start.
std::optional<NewGameSettings> OnlineGame::newGameOf(const Game& served) const {
    if (int(seats_.size()) != served.playerCount() || seats_.empty()) return std::nullopt;
    NewGameSettings settings;
    settings.players = int(seats_.size());
    for (std::size_t i = 0; i < seats_.size(); ++i) {
        settings.names[i + 1] = seats_[i].name;
        settings.seats[i + 1] = seats_[i].kind;
    }
    settings.walls = served.wallsOn;
    return settings;
}

OnlineNews OnlineGame::onState(const protocol::State& state) {
    OnlineNews news;
    if (offline_) return news;
    if (session_.hasBoard() && session_.turn().running()) {
        pendingState_ = state;
        return news;
    }
    pendingState_.reset();
    std::string error;
    const std::optional<Game> served = readGameText(state.gameText, &error);
    if (!served || !session_.hasBoard()) return news;
    const bool fresh = state.shotNumber == 0;
    news.begun = session_.beginOnlineGame(*served, fresh ? newGameOf(*served) : std::nullopt);
    shotsPlayed_ = state.shotNumber;
    watchedTurn_ = &session_.turn();
    judgedSeen_ = session_.turn().judgedShots();
    launchSent_ = false;
    awaitingState_ = false;
    hashesHere_.clear();
    accepted_.erase(accepted_.begin(), accepted_.upper_bound(shotsPlayed_));
    return news;
}

void OnlineGame::onAccepted(const protocol::Accepted& accepted) {
    if (!offline_ && accepted.shot.shotNumber > shotsPlayed_ - int(hashesHere_.size()))
        accepted_[accepted.shot.shotNumber] = accepted;
}

void OnlineGame::onAim(const protocol::Aim& aim) {
    if (offline_ || !session_.hasBoard() || !session_.seatIsRemote()) return;
    const Game& g = session_.game();
    if (aim.seat != g.currentTurn || session_.turn().running() || (session_.remoteShot() && session_.remoteShot()->running()))
        return;
    Line line;
    line.x1 = aim.x1;
    line.y1 = aim.y1;
    line.x2 = aim.x2;
    line.y2 = aim.y2;
    line.visible = true;
    session_.turn().showAim(line, std::nullopt);
    session_.turn().showBarAt(aim.charging ? std::optional<int>(aim.barLevel) : std::nullopt);
}

void OnlineGame::askForState() {
    if (awaitingState_) return;
    awaitingState_ = true;
    outbox_.send(protocol::StateRequest{});
}

// Only a refusal of the shot this computer sent puts the game back to the
// server's: the shot was not taken there.
void OnlineGame::onRefused(const protocol::Refused& refused) {
    switch (refused.code) {
    case RefusalCode::GameNotBegun:
    case RefusalCode::GameOver:
    case RefusalCode::ShotUnderWay:
    case RefusalCode::NotYourTurn:
    case RefusalCode::StaleShotNumber:
    case RefusalCode::AimOutOfReach:
    case RefusalCode::StrengthOutOfRange:
    case RefusalCode::PlacementNotAllowed:
    case RefusalCode::PlacementOutsideBox:
    case RefusalCode::NotAPlayer:
        if (launchSent_) askForState();
        break;
    default:
        break;
    }
}

void OnlineGame::onUnreadable() {
    if (joined_ && !offline_) askForState();
}

void OnlineGame::goOffline() {
    offline_ = true;
    pendingState_.reset();
    accepted_.clear();
}

// This computer's shot, at its launch: the command the match launched.
void OnlineGame::sendLaunchedShot() {
    const ShotInPlay* inPlay = session_.match().shotInPlay();
    if (!inPlay || !seatIsMine(inPlay->command().seat)) return;
    RecordedShot sent;
    static_cast<ShotCommand&>(sent) = inPlay->command();
    sent.midShot.clear();
    outbox_.send(protocol::Shot{shotsPlayed_ + 1, std::move(sent)});
    launchSent_ = true;
}

// While a player of this computer aims or charges, the others see it.
void OnlineGame::streamAim(double clock) {
    const Game& g = session_.game();
    const TurnController& turn = session_.turn();
    const Line& line = turn.pending().aim;
    if (!seatIsMine(g.currentTurn) || !line.visible || turn.shot()) return;
    if (clock - lastAimSent_ < 1.0 / kAimsPerSecond && clock >= lastAimSent_) return;
    const std::int16_t level = std::int16_t(turn.charging() ? turn.controls().barLevel : 0);
    const protocol::Aim aim{0, line.x1, line.y1, line.x2, line.y2, level, turn.charging()};
    if (lastAim_ == aim) return;
    lastAim_ = aim;
    lastAimSent_ = clock;
    outbox_.send(aim);
}

// Each shot judged here is compared with the server's once both are known.
std::string OnlineGame::compareJudged(std::vector<ComparedShot>& compared) {
    for (auto here = hashesHere_.begin(); here != hashesHere_.end();) {
        const auto theirs = accepted_.find(here->first);
        if (theirs == accepted_.end()) break;
        const bool same = theirs->second.shot.inputs.outcome.hash == here->second;
        compared.push_back({here->first, here->second, same});
        accepted_.erase(theirs);
        here = hashesHere_.erase(here);
        if (same || awaitingState_) continue;
        ++mismatches_;
        awaitingState_ = true;
        outbox_.send(protocol::StateRequest{});
        return "The game here went differently from the server's; it goes on from the server's game.";
    }
    return {};
}

OnlineNews OnlineGame::poll(double clock) {
    OnlineNews news;
    if (offline_ || !joined_ || !session_.hasBoard()) return news;
    if (pendingState_ && !session_.turn().running()) {
        // Taken out first: applying a state clears the one kept waiting.
        const protocol::State waiting = *std::exchange(pendingState_, std::nullopt);
        news = onState(waiting);
    }
    TurnController& turn = session_.turn();
    if (watchedTurn_ != &turn) {
        // A new board (a new window) counts its shots afresh.
        watchedTurn_ = &turn;
        judgedSeen_ = turn.judgedShots();
    }
    RemoteShotTurn* remote = session_.remoteShot();
    const bool remoteRunning = remote && remote->running();
    if (turn.shot() && !launchSent_ && !remoteRunning) sendLaunchedShot();
    if (turn.judgedShots() != judgedSeen_) {
        judgedSeen_ = turn.judgedShots();
        ++shotsPlayed_;
        lastShotMine_ = launchSent_;
        launchSent_ = false;
        const auto& entries = session_.record().entries;
        if (!entries.empty() && std::holds_alternative<RecordedShot>(entries.back()))
            hashesHere_[shotsPlayed_] = outcomeOf(entries.back()).hash;
    }
    news.said = compareJudged(news.compared);
    // A shot from the server that the rulebook here refuses (a server that
    // sends what no player could play): the server's game is asked for.
    if (remote && !remote->running() && remote->takeRefusal()) {
        askForState();
        news.said = "The server sent a shot this game cannot take; it goes on from the server's game.";
    }
    streamAim(clock);
    if (awaitingState_ || remoteRunning || turn.running() || turn.phase() == TurnPhase::Judging) return news;
    const auto next = accepted_.find(shotsPlayed_ + 1);
    if (next != accepted_.end() && session_.game().currentTurn == next->second.shot.inputs.seat)
        news.remoteShot = session_.startRemoteShot(next->second.shot.inputs);
    return news;
}

}  // namespace capzel
