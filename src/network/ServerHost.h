// The online game's server on the network: a WebSocket server (ws, or wss
// with a certificate) whose connections speak protocol/Messages.h, and the
// rooms they play in (server/Room.h), kept in the data folder as they
// change (on the keeper's thread, server/RoomKeeper.h: a shot adds one line
// to its room's file) so that a restarted server brings them back.
//
// It guards itself against hostile connections:
//  - a connection's TLS handshake and WebSocket upgrade must be done within
//    a few seconds; they go on side by side, never waiting for one another;
//  - every message counts against its connection's rate before it is read
//    (aims have a rate of their own); past the rate it is refused (an aim is
//    dropped without a word, but counts all the same), and after so many
//    over the rate in a short time the connection is closed; an aim longer
//    than an aim can be is refused;
//  - one address holds only so many connections, and so many rooms whose
//    game has not begun; room codes that name no room are rationed per
//    address; the server holds only so many rooms;
//  - a connection that has said nothing for a while is pinged, and one that
//    stays silent is dropped (its seats are held as for any drop);
//  - a connection that does not read what it is sent is closed once that
//    passes a limit, its unsent bytes thrown away.
// A refused message never changes a room.
//
// A room whose game is over, or that everybody has left for good, or that
// was made and left before its game began, is closed: it goes from memory
// and its kept file moves to <dataDir>/rooms/finished (compacted), where it
// stays but is not brought back. Each room keeps its last chat lines, which
// a spectator or a player joining it later is sent.
//
// Qt Core and Qt WebSockets only, no window: the game can start one in its
// own process as the capzel-server program does.
#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSslConfiguration>
#include <QString>
#include <QTimer>

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "players/Planner.h"
#include "protocol/Messages.h"
#include "server/Room.h"
#include "server/RoomKeeper.h"
#include "server/Tokens.h"

class QTcpServer;
class QTcpSocket;
class QWebSocket;
class QWebSocketServer;

namespace capzel::network {

class WebPort;

struct ServerLimits {
    int messagesPerSecond = 20;  // per connection, aims apart, with a burst of as many
    int aimsPerSecond = 20;      // per connection, with a burst of as many
    // Messages over the rates before the connection is closed; the count
    // goes down again by the messages' rate a second, so that a burst now and
    // then (aims bunched by the network) never adds up to a close.
    int floodedMessagesToClose = 100;
    int connectionsPerAddress = 16;
    int rooms = 1000;
    int waitingRoomsPerAddress = 8;  // rooms made from one address whose game has not begun
    int wrongCodesPerMinute = 20;    // codes naming no room, per address, with a burst of 10
    qint64 unsentBytes = 1 << 20;    // a connection's bytes waiting to be sent, at most
};

struct ServerTimes {
    int handshakeMs = 5000;  // from the TCP connection to the WebSocket, TLS included
    int pingMs = 10000;      // a connection silent this long is pinged
    int silentMs = 30000;    // and one silent this long is dropped
    server::RoomTimes rooms;
};

struct ServerOptions {
    quint16 port = 0;  // 0: any free port
    QString dataDir;   // rooms are kept in <dataDir>/rooms; empty: not kept
    std::string codePrefix;  // room-code letters every new room's code begins with
    std::optional<QSslConfiguration> tls;
    // The web client's files, served on the same port (network/WebPort.h);
    // empty: every page is 404.
    std::string webRoot;
    ServerLimits limits;
    ServerTimes times;
    // Each computer shot is planned on one thread, and at most this many at
    // once (0: one fewer than the machine's cores, at least one), so that
    // the connections keep a core; rooms take turns.
    players::PlannerOptions planner{.threads = 1};
    int plansAtOnce = 0;
};

// The last chat lines a room keeps for those who join it later.
constexpr std::size_t kChatLinesKept = 200;
// The longest aim taken, in bytes: an aim's numbers fit many times over.
constexpr qsizetype kMaxAimBytes = 256;

class ServerHost : public QObject {
    Q_OBJECT
public:
    explicit ServerHost(ServerOptions options, QObject* parent = nullptr);
    ~ServerHost() override;

    // Brings back the kept rooms and listens. False with `error` when the
    // port cannot be had.
    bool start(QString* error);
    quint16 port() const;
    // Stops listening and closes every connection; the rooms stay kept
    // (returns once their files are written).
    void stop();

    int roomCount() const { return int(rooms_.size()); }

private:
    // A rate with a burst: how much of the burst is spent now.
    struct Allowance {
        double spent = 0;
        qint64 since = 0;
        void refill(double perSecond, qint64 nowMs);
        bool exhausted(double burst) const { return spent + 1 > burst; }
        bool take(double perSecond, double burst, qint64 nowMs);
    };
    struct Connection {
        QWebSocket* socket = nullptr;
        QPointer<QTcpSocket> transport;  // beneath the WebSocket
        QString address;
        bool greeted = false;
        bool closing = false;  // closed by the server: nothing more is read or sent
        std::string name;
        std::string room;        // empty: in no room
        std::vector<int> seats;  // the seats it holds (none: a spectator)
        Allowance messages;
        Allowance aims;
        Allowance flooded;  // messages over the rates lately
        int floodRefusals = 0;
        qint64 lastHeardMs = 0;
        qint64 lastPingMs = 0;
        qint64 closingSinceMs = 0;
    };
    // A connection on its way in: TCP accepted, TLS and the WebSocket
    // upgrade under way.
    struct Arrival {
        QString address;
        qint64 deadlineMs = 0;
        bool upgrading = false;  // handed to the WebSocket server
    };
    struct AddressUse {
        int connections = 0;   // arriving or connected
        int waitingRooms = 0;  // rooms made from it whose game has not begun
        Allowance wrongCodes;
    };
    struct RoomPlace {
        std::unique_ptr<server::Room> room;
        std::vector<QWebSocket*> members;  // players and spectators
        QString maker;                     // its maker's address (none: brought back)
        bool waiting = false;              // counted against its maker's waiting rooms
        std::deque<QString> chat;          // the last lines said, as they were sent
        // Its file: written whole next time (or from then on adds lines),
        // whether the room had begun then, and the record's entries in it.
        bool keepWhole = true;
        bool keptBegun = false;
        std::size_t entriesKept = 0;
        qint64 nextWholeTryMs = 0;  // after a failure, a whole write waits until then
        bool toldUnkept = false;
    };

    // Arrival: ServerEntry.cpp.
    void incoming(qintptr descriptor);
    void upgrade(QTcpSocket* transport);
    // An upgrade the port read: the WebSocket server takes the connection.
    void handOver(QTcpSocket* transport);
    void arrived();
    void adopt(QWebSocket* socket, QTcpSocket* transport, const QString& address);
    void arrivalEnded(QTcpSocket* transport);
    void releaseAddress(const QString& address);
    void sweep();

    // Connections: ServerHost.cpp.
    void received(QWebSocket* socket, const QString& text, bool binary = false);
    void dropped(QWebSocket* socket);
    void handle(Connection& c, protocol::Decoded message);
    void flooded(Connection& c, bool quietly = false);
    void cut(Connection& c);
    void send(Connection& c, const protocol::Message& message);
    void sendText(Connection& c, const QString& text);
    void refuse(Connection& c, const Refusal& refusal);
    void refuse(Connection& c, RefusalCode code, std::string reason);
    qint64 nowMs() const { return clock_.elapsed(); }

    // Rooms: ServerRooms.cpp.
    void createRoom(Connection& c, const protocol::CreateRoom& setup);
    void joinRoom(Connection& c, const protocol::JoinRoom& join, bool maker = false);
    void shoot(Connection& c, const protocol::Shot& shot);
    void chat(Connection& c, const protocol::Chat& chat);
    void aim(Connection& c, protocol::Aim aim);
    void handToComputer(Connection& c, const protocol::HandToComputer& hand);
    void leaveRoom(Connection& c);
    void tick();
    void startPlans(int planning);
    void playComputer(RoomPlace& place);
    void close(RoomPlace& place);
    void beganOrClosed(RoomPlace& place);
    void tellRoom(RoomPlace& place, const protocol::Message& message);
    void tellRoomText(RoomPlace& place, const QString& text, const QWebSocket* except = nullptr);
    void seatsChanged(RoomPlace& place);
    void keep(RoomPlace& place);
    void keepFailed(const std::string& code, const std::string& what);
    void bringBackRooms();
    QString roomsDir() const;
    RoomPlace* placeOf(const Connection& c);

    ServerOptions options_;
    QElapsedTimer clock_;
    QTcpServer* listener_ = nullptr;
    QWebSocketServer* upgrader_ = nullptr;
    WebPort* port_ = nullptr;  // reads each arrival's request: a page is served, an upgrade comes back
    QTimer ticker_;
    QTimer sweeper_;
    server::TokenSource tokens_;
    std::unique_ptr<server::RoomKeeper> keeper_;  // none: rooms are not kept
    std::map<std::string, RoomPlace> rooms_;
    std::string nextToPlan_;  // where the rooms' turns at the planners go on
    QHash<QWebSocket*, Connection> connections_;
    QHash<QTcpSocket*, Arrival> arrivals_;
    QHash<QString, AddressUse> addresses_;
    qint64 lastKeepReportMs_ = -1;  // failures to keep rooms are printed once a minute at most
    int keepReportsHeld_ = 0;
};

}  // namespace capzel::network
