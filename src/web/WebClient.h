// The game as a browser plays it, apart from the page: the program's own
// online client (session/OnlineGame.h) on a game session with one board,
// the same turn, rulebook and engine the desktop plays with. The page owns
// the WebSocket and the canvas; this class
//  - takes each text the server sent and gives back the texts to send
//    (the protocol's encoder and decoder, the hello and its welcome);
//  - takes the player's input in field twips (a move with its buttons and
//    shift, a release, "Go", Esc, fast forward, a chat line);
//  - is moved on by the time the page's animation frames report, at the
//    desktop's pace (controls/RunPacing.h), so a shot animates as it does
//    there, step for step;
//  - tells what happened once (events: joined, refused, a rule's message,
//    a chat line, a shot compared with the server's) and what to draw
//    (web/WebView.h reads it).
// It never blocks and never throws on what the server sends.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/RunPacing.h"
#include "platform/SilentPlatform.h"
#include "protocol/Messages.h"
#include "session/GameSession.h"
#include "session/OnlineGame.h"

namespace capzel::web {

// Something the page shows once, in the order it happened.
struct WebEvent {
    enum class Kind {
        Welcomed,  // the server took the hello
        Joined,    // a room joined: code, token (empty for a spectator), host
        Refused,   // the room cannot be joined (or the server refused the hello): text; forgetToken when
                   // the kept token holds no seat any more
        Lost,      // the server cannot be played with (another version, no welcome): text; no retry helps
        Banner,    // a line for the rules' banner: text
        Chat,      // a chat line: who, text
        Compared,  // a shot judged here and at the server: number, hash, same
        Refusal,   // the server refused something this page sent while in the room: text
    };
    explicit WebEvent(Kind k = Kind::Banner) : kind(k) {}
    Kind kind;
    std::string text;
    std::string who;
    std::string code;
    std::string token;
    bool host = false;
    bool forgetToken = false;
    int number = 0;
    std::uint64_t hash = 0;
    bool same = true;
};

// The room the page asks for once the server has welcomed it.
struct RoomRequest {
    std::optional<protocol::CreateRoom> create;
    std::optional<protocol::JoinRoom> join;
};

class WebClient final : public OnlineOutbox {
public:
    WebClient();
    ~WebClient() override;
    WebClient(const WebClient&) = delete;
    WebClient& operator=(const WebClient&) = delete;

    // ---- The connection (the page's WebSocket) ----------------------------
    // The socket is open: the hello goes out, and `request` once welcomed.
    // A connection made again (after a drop) sends the hello again and joins
    // with the token of the seats held.
    void connected(const std::string& name, const std::string& programVersion, RoomRequest request);
    // One text the server sent.
    void received(std::string_view text);
    // The socket closed. The game stays as it stands, nobody plays until the
    // page connects again.
    void disconnected();
    bool welcomed() const { return welcomed_; }
    bool inRoom() const { return welcomed_ && online_->hasJoined(); }
    // The texts to send, in order (taken: each is handed out once).
    std::vector<std::string> takeOutgoing();
    std::vector<WebEvent> takeEvents();

    // ---- Input (field twips) ----------------------------------------------
    void mouseMove(int buttons, int shift, float x, float y);
    void mouseUp();
    void go();
    void escape();
    void setFast(bool fast) { driver_.pacing.fast = fast; }
    bool fast() const { return driver_.pacing.fast; }
    // A chat line: refused (false) when it is empty, too long or holds a
    // control character.
    bool say(const std::string& text);

    // ---- Time -------------------------------------------------------------
    // The page's frame: `elapsedMs` since the last one. Polls the online
    // game, drives the run under way, and tells what the rules announced.
    void frame(double elapsedMs);
    // Grows at every change a drawing shows (the field, the status, the
    // waiting line), so the page reads the view only when it changed.
    std::uint64_t revision() const { return revision_; }

    // ---- What the page draws ----------------------------------------------
    const GameSession& session() const { return session_; }
    const TurnController& turn() const { return *board_; }
    const OnlineGame& online() const { return *online_; }
    // Whether the person at this page may aim now: the seat on turn is
    // theirs, the game runs and nothing is under way.
    bool myTurn() const;
    // Whether the seat on turn may place its piece by hand (Shift, or the
    // page's "place" mode on a touch screen).
    bool canPlace() const;
    // The shot being shown is one of another computer's.
    bool showingRemoteShot() const;
    // The last shot compared with the server's, if any.
    const std::optional<ComparedShot>& lastCompared() const { return lastCompared_; }
    // The direction cell of each status row keeps its text where the rules
    // leave it (see ui/windows/StatusCells.h); rows 1..8.
    const std::string& directionShown(int row) const { return direction_[std::size_t(row)]; }

    // OnlineOutbox: what the online game sends.
    void send(const protocol::Message& message) override;

private:
    // The clock the board's runs read: the pace's time.
    class PagePlatform final : public SilentPlatform {
    public:
        explicit PagePlatform(const RunDriver& driver) : driver_(driver) {}
        double clock() override { return driver_.clockSeconds(); }

    private:
        const RunDriver& driver_;
    };

    void handshake(const protocol::Decoded& message);
    void inRoomMessage(const protocol::Decoded& message);
    void joined(const protocol::Joined& joined);
    void stateReceived(const protocol::State& state);
    void seatsChanged(const protocol::Seats& seats);
    void chat(const protocol::Chat& chat);
    void refused(const protocol::Refused& refused);
    void news(const OnlineNews& news);
    void tellAnnouncements();
    void banner(const std::string& text);
    SteppedRun& drivenRun();
    bool personAtBoard() const;
    void noteRemoteShot();
    void inputDone();
    void updateDirections();

    RunDriver driver_;
    PagePlatform platform_{driver_};
    GameSession session_;
    std::shared_ptr<TurnController> board_;
    std::unique_ptr<OnlineGame> online_;

    bool socketOpen_ = false;
    bool welcomed_ = false;
    std::optional<RoomRequest> request_;
    std::vector<std::string> outgoing_;
    std::vector<WebEvent> events_;
    std::optional<ComparedShot> lastCompared_;
    bool remoteShown_ = false;  // a shot of another computer runs on the board
    int launchPolled_ = -1;     // the judged shots when this page's shot under way was last sent on
    std::vector<std::string> direction_ = std::vector<std::string>(kMaxPlayers + 1);
    std::uint64_t revision_ = 1;
};

}  // namespace capzel::web
