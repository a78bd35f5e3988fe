#include "session/HeadlessPlayer.h"

#include <utility>

namespace capzel {

HeadlessPlayer::HeadlessPlayer(std::function<void(const protocol::Message&)> send)
    : send_(std::move(send)), board_(session_.openBoard(platform_)),
      online_(std::make_unique<OnlineGame>(session_, *this)) {}

HeadlessPlayer::~HeadlessPlayer() {
    online_.reset();
    session_.closeBoard(platform_);
}

void HeadlessPlayer::send(const protocol::Message& message) { send_(message); }

void HeadlessPlayer::receive(const protocol::Decoded& message) {
    if (const auto* m = std::get_if<protocol::Joined>(&message)) online_->onJoined(*m);
    if (const auto* m = std::get_if<protocol::Seats>(&message)) online_->onSeats(*m);
    if (const auto* m = std::get_if<protocol::State>(&message)) online_->onState(*m);
    if (const auto* m = std::get_if<protocol::Accepted>(&message)) online_->onAccepted(*m);
    if (const auto* m = std::get_if<protocol::Aim>(&message)) online_->onAim(*m);
    if (const auto* m = std::get_if<protocol::Refused>(&message)) online_->onRefused(*m);
    if (std::holds_alternative<protocol::Refusal>(message)) online_->onUnreadable();
    playThrough();
}

bool HeadlessPlayer::onTurn() const {
    const Game& g = session_.game();
    return online_->hasJoined() && g.gameRunning && online_->seatIsMine(g.currentTurn) && !board_->running() &&
           !online_->awaitingState();
}

std::optional<Refusal> HeadlessPlayer::shoot(const ShotCommand& shot) {
    std::optional<Refusal> refused = board_->fire(shot);
    if (!refused) playThrough();
    return refused;
}

// Polls the client and drives what it starts until nothing more runs: the
// board's runs straight through, what the rules said taken as told.
void HeadlessPlayer::playThrough() {
    for (;;) {
        const OnlineNews news = online_->poll(platform_.clock());
        SteppedRun* run = news.remoteShot ? static_cast<SteppedRun*>(news.remoteShot) : board_.get();
        if (!run->running() && !board_->hasAnnouncements()) return;
        while (run->running()) {
            run->advance();
            // The client sends a shot of this program at its launch.
            if (run == board_.get()) online_->poll(platform_.clock());
        }
        board_->takeAnnouncements();
        session_.advanced();
    }
}

}  // namespace capzel
