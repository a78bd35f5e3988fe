// The online game in the program's windows: the connection to the server
// (network/GameClient.h), the online game that plays it on the session
// (session/OnlineGame.h) and, for a hosted game, the server itself in this
// process (network/ServerHost.h), announced on the local network.
//
// Between the windows and the network it
//  - begins the game in a fresh main window once the server sends it, and
//    drives the shots of the other computers with that window's clock;
//  - shows the lobby until the game begins (and to the host again while a
//    player is awaited), the chat, who is here in the status window and
//    "Waiting for NAME…" in the banner;
//  - keeps each seat's token with the server's address and the room's code,
//    so that a restarted game takes its seats back;
//  - when the connection is lost, says so in a box between two steps and
//    lets the game go on here with every seat at this computer;
//  - when the room asked for goes unanswered, says so and offers to go
//    back; takes only the first answer, for the room asked; shows what the
//    server refuses once in the room in the chat's log.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>

#include "network/GameClient.h"
#include "session/OnlineGame.h"
#include "ui/online/OnlineChoices.h"

namespace capzel::network {
class LanAnnouncer;
class ServerHost;
}  // namespace capzel::network

namespace capzel::ui {

class OnlineHost;
class ChatLine;
class LobbyWindow;

// A seat's token kept for a room at a server, to take the seat back.
struct KeptSeat {
    QString url;
    QString code;
    QString name;
    std::string token;
    quint16 hostedPort = 0;  // the game hosted the room itself on this port
};
std::optional<KeptSeat> keptOnlineSeat();
void keepOnlineSeat(const KeptSeat& seat);
void forgetOnlineSeat();

class OnlinePlay : public QObject, private OnlineOutbox {
    Q_OBJECT
public:
    OnlinePlay(OnlineHost& app, QObject* parent);
    ~OnlinePlay() override;

    // Starts a server in this program on the chosen port, connects to it
    // and makes the room. False, with `error`, when the port cannot be had.
    bool host(const HostChoices& choices, QString* error);
    // The server in this program, on `port` (0: any free one).
    bool startServer(quint16 port, QString* error);
    // Connects to a server and joins the room (with a kept token: takes
    // its seats back).
    void join(const JoinChoices& choices, const std::optional<std::string>& token = std::nullopt);
    // Takes kept seats back; a room this program hosted is hosted again
    // (the server brings its kept rooms back) first. False, with `error`,
    // when its port cannot be had.
    bool rejoin(const KeptSeat& seat, QString* error);
    // Leaves the room; a hosted server stops.
    void leave();

    bool connected() const { return game_ && !game_->offline(); }
    const OnlineGame* game() const { return game_.get(); }
    network::GameClient& client() { return client_; }

signals:
    // The room's code once joined (the command line prints it for scripts).
    void roomJoined(const QString& code);

private:
    void send(const protocol::Message& message) override { client_.send(message); }
    void start(const QUrl& url, const std::string& name);
    void joined(const protocol::Joined& joined);
    void stateReceived(const protocol::State& state);
    void seatsChanged(const protocol::Seats& seats);
    void refused(const capzel::protocol::Refused& refused);
    void lost(const QString& why);
    void unanswered(const QString& why);
    void poll();
    void tellLost();
    void showLobby();
    // The chat docked beside the current main window's field (a new window
    // gets the lines said so far); taken away with `hide`.
    void showChat();
    void addChatLine(const QString& line);
    void hideChat();
    void announce();

    OnlineHost& app_;
    network::GameClient client_;
    std::unique_ptr<network::ServerHost> server_;
    std::unique_ptr<network::LanAnnouncer> announcer_;
    std::unique_ptr<OnlineGame> game_;
    QTimer poll_;
    QPointer<LobbyWindow> lobby_;
    QPointer<ChatLine> chat_;  // docked in the main window, which it goes with
    QStringList chatLines_;    // every line said, the last ChatLine::kLogLines
    QString url_;
    QString name_;
    std::optional<protocol::CreateRoom> making_;  // the room to make once welcomed
    std::optional<protocol::JoinRoom> joining_;   // the room to join once welcomed
    std::string asked_;  // the code of the room asked for (empty: a room to be made)
    bool gameShown_ = false;
    std::string waiting_;  // the last "Waiting for …" said
    QString lostWhy_;      // a lost connection not yet told
};

}  // namespace capzel::ui
