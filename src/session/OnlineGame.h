// The online game as this computer plays it, apart from any window or
// network: the game is an ordinary game of the session (session/GameSession.h)
// built from the server's state, so its board, record and keeping work as
// for any game. Between two steps of the board's run the window calls
// poll(), which
//  - sends the shot of a seat of this computer at its launch, and streams
//    its aim while the player aims and charges (at most kAimsPerSecond);
//  - compares each shot's hash, once judged here, with the server's, and
//    asks for the server's state when they differ;
//  - starts the next shot the server accepted from another computer (or
//    the server's own computer seats), shown as it was played
//    (controls/RemoteShotTurn.h), for the window to drive.
// The messages received come in through the on...() calls; the messages to
// send go out through an OnlineOutbox.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "protocol/Messages.h"
#include "session/GameSession.h"

namespace capzel {

class OnlineOutbox {
public:
    virtual ~OnlineOutbox() = default;
    virtual void send(const protocol::Message& message) = 0;
};

// A shot judged here and compared with the server's.
struct ComparedShot {
    int number = 0;
    std::uint64_t hash = 0;  // here
    bool same = true;
};

// What a poll or a received message leaves for the window to do.
struct OnlineNews {
    // A game began or came back from the server's state: its first turn's
    // announcements to tell (none when it was under way).
    std::optional<Judgement> begun;
    // A shot of another computer to drive with the board's clock.
    RemoteShotTurn* remoteShot = nullptr;
    // A line for the banner (the game here differed from the server's, or
    // the server sent a shot the rulebook refuses).
    std::string said;
    std::vector<ComparedShot> compared;
};

class OnlineGame {
public:
    static constexpr double kAimsPerSecond = 20;

    OnlineGame(GameSession& session, OnlineOutbox& outbox) : session_(session), outbox_(outbox) {}
    ~OnlineGame();
    OnlineGame(const OnlineGame&) = delete;
    OnlineGame& operator=(const OnlineGame&) = delete;

    // The messages from the server.
    void onJoined(const protocol::Joined& joined);
    void onSeats(const protocol::Seats& seats) { seats_ = seats.seats; }
    OnlineNews onState(const protocol::State& state);
    void onAccepted(const protocol::Accepted& accepted);
    void onAim(const protocol::Aim& aim);
    // A refusal from the server: when it refuses a shot of this computer
    // (by its code), the game here goes back to the server's.
    void onRefused(const protocol::Refused& refused);
    // A message from the server that could not be read (a shot with an aim
    // that is not a number, say): the server's game is asked for, so that
    // nothing it held is missed.
    void onUnreadable();

    // Between two steps (`clock` in seconds, the board's platform's).
    OnlineNews poll(double clock);

    // The connection has gone: every seat is played here from now on, and
    // the game goes on as a game at one computer.
    void goOffline();
    bool offline() const { return offline_; }

    bool hasJoined() const { return joined_; }
    bool spectating() const { return joined_ && mine_.empty(); }
    bool isHost() const { return host_; }
    const std::string& code() const { return code_; }
    const std::string& token() const { return token_; }
    const std::vector<int>& mySeats() const { return mine_; }
    bool seatIsMine(int seat) const;
    const std::vector<protocol::SeatStatus>& seats() const { return seats_; }
    // "Waiting for Bob…" while a dropped player is awaited, or empty.
    std::string waitingText() const;
    // Shots of the game so far, as the server counts them, played here.
    int shotsPlayed() const { return shotsPlayed_; }
    // Shots whose hash differed from the server's since the game began.
    int mismatches() const { return mismatches_; }
    // Whether the server's game was asked for and has not been taken yet.
    bool awaitingState() const { return awaitingState_; }
    // Whether the shot that was judged last here was played at this computer.
    bool lastShotWasMine() const { return lastShotMine_; }

private:
    void sendLaunchedShot();
    void streamAim(double clock);
    std::string compareJudged(std::vector<ComparedShot>& compared);
    std::optional<NewGameSettings> newGameOf(const Game& served) const;
    void askForState();

    GameSession& session_;
    OnlineOutbox& outbox_;
    bool joined_ = false;
    bool offline_ = false;
    bool host_ = false;
    std::string code_;
    std::string token_;
    std::vector<int> mine_;
    std::vector<protocol::SeatStatus> seats_;
    std::optional<protocol::State> pendingState_;

    int shotsPlayed_ = 0;
    const TurnController* watchedTurn_ = nullptr;  // the board's turn when last looked at
    int judgedSeen_ = 0;                           // its judged shots then
    bool launchSent_ = false;                      // this computer's shot under way was sent
    bool lastShotMine_ = false;
    bool awaitingState_ = false;
    int mismatches_ = 0;
    std::map<int, protocol::Accepted> accepted_;  // by shot number, until played and compared here
    std::map<int, std::uint64_t> hashesHere_;     // by shot number, until compared
    double lastAimSent_ = -1e9;
    std::optional<protocol::Aim> lastAim_;
};

}  // namespace capzel
