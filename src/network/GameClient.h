// A player's connection to an online game's server: a WebSocket to
// ws://host:port (any path or query, which a load balancer may route by),
// the hello and the server's welcome, and then the room's messages both
// ways (protocol/Messages.h), one signal for each kind received.
//
// A server that speaks another version of the online game, or refuses the
// hello, ends the connection with connectionLost and a text that says so;
// so does a server that goes away, or one that never answers. A room asked
// for (made or joined) that gets neither joined nor refused in time is
// told by roomUnanswered; the connection stays.
//
// Qt Core and Qt WebSockets only, no window.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <cstdint>
#include <string>

#include "protocol/Messages.h"

class QWebSocket;

namespace capzel::network {

class GameClient : public QObject {
    Q_OBJECT
public:
    explicit GameClient(QObject* parent = nullptr);
    ~GameClient() override;

    // Connects and says hello as `name`; welcomed() or connectionLost()
    // follows. A url that is not ws:// or wss:// is refused at once.
    void connectTo(const QUrl& url, const std::string& name, const std::string& programVersion);
    // Closes the connection; no connectionLost follows.
    void close();
    bool isWelcomed() const { return welcomed_; }
    // How long a room asked for may go unanswered (10 s; tests shorten it).
    void setAnswerTimeoutMs(int ms) { answerMs_ = ms; }
    // Waits for the answer afresh, as long again.
    void keepWaitingForAnswer() { answerTimer_.start(answerMs_); }

    void send(const protocol::Message& message);
    void createRoom(const protocol::CreateRoom& room) { send(room); }
    void joinRoom(const protocol::JoinRoom& join) { send(join); }
    void sendShot(const protocol::Shot& shot) { send(shot); }
    void sendAim(const protocol::Aim& aim) { send(aim); }
    void sendChat(const std::string& text) { send(protocol::Chat{text, 0}); }
    void handToComputer(int seat) { send(protocol::HandToComputer{seat}); }
    void requestState() { send(protocol::StateRequest{}); }

    // A ws:// or wss:// address from what a person typed: "host:port",
    // "ws://host:port/any?room=X"; an empty url when it is none.
    static QUrl serverUrl(const QString& typed);

signals:
    void welcomed(const capzel::protocol::Welcome& welcome);
    void refused(const capzel::protocol::Refused& refused);
    void joined(const capzel::protocol::Joined& joined);
    void seatsChanged(const capzel::protocol::Seats& seats);
    void accepted(const capzel::protocol::Accepted& accepted);
    void stateReceived(const capzel::protocol::State& state);
    void aimed(const capzel::protocol::Aim& aim);
    void chatReceived(const capzel::protocol::Chat& chat);
    // The connection has ended, and why, in words for a person.
    void connectionLost(const QString& why);
    // A message from the server that cannot be read, and why.
    void unreadable(const QString& why);
    // The room asked for has had no answer for the answer time.
    void roomUnanswered(const QString& why);

private:
    void received(const QString& text);
    void lose(const QString& why);

    QWebSocket* socket_ = nullptr;
    std::uint64_t connection_ = 0;  // counts the connections opened
    QTimer handshakeTimer_;
    QTimer answerTimer_;
    int answerMs_ = 10000;
    std::string hello_;
    bool welcomed_ = false;
    bool lost_ = false;
};

}  // namespace capzel::network
