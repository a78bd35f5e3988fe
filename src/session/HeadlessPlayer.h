// A player's program without a window, for the load generator and the
// tests: an online game followed by the program's own client (OnlineGame)
// on a session of its own, whose board's runs are driven straight through.
// Its clock moves on at every look, so that the gestures of a shot played
// elsewhere (the aim drawn out, the hold, the bar's pauses) take no time;
// the bar's ticks and the shot's steps are the board's as in any window.
// So what it plays, and any difference from the server, are a player's.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "model/Command.h"
#include "model/Refusal.h"
#include "platform/SilentPlatform.h"
#include "protocol/Messages.h"
#include "session/GameSession.h"
#include "session/OnlineGame.h"

namespace capzel {

class HeadlessPlayer final : public OnlineOutbox {
public:
    // `send` takes every message the player's program sends.
    explicit HeadlessPlayer(std::function<void(const protocol::Message&)> send);
    ~HeadlessPlayer() override;
    HeadlessPlayer(const HeadlessPlayer&) = delete;
    HeadlessPlayer& operator=(const HeadlessPlayer&) = delete;

    // A message from the server, handed to the client as the program does,
    // and everything it starts played through.
    void receive(const protocol::Decoded& message);

    // The player at this program shoots: `shot` fired as "Go" fires it,
    // then played through (the client sends it at its launch). The
    // rulebook's refusal, if any.
    std::optional<Refusal> shoot(const ShotCommand& shot);

    const Game& game() const { return session_.game(); }
    const GameSession& session() const { return session_; }
    const OnlineGame& online() const { return *online_; }
    // Shots of the game played here, as the server counts them.
    int shotsPlayed() const { return online_->shotsPlayed(); }
    // Shots whose hash here differed from the server's.
    int mismatches() const { return online_->mismatches(); }
    // Whether this program's seat is the one whose turn it is, with nothing
    // under way here.
    bool onTurn() const;

    // The client's messages go out through `send` (OnlineOutbox).
    void send(const protocol::Message& message) override;

private:
    void playThrough();

    // A clock a second later at every look.
    class FastClock final : public SilentPlatform {
    public:
        double clock() override { return now_ += 1.0; }

    private:
        double now_ = 0;
    };

    std::function<void(const protocol::Message&)> send_;
    FastClock platform_;
    GameSession session_;
    std::shared_ptr<TurnController> board_;
    std::unique_ptr<OnlineGame> online_;
};

}  // namespace capzel
