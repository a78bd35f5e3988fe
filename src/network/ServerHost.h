// The online game's server on the network: a WebSocket server (ws, or wss
// with a certificate) whose connections speak protocol/Messages.h, and the
// rooms they play in (server/Room.h), kept in the data folder after every
// change (on the keeper's thread, server/RoomKeeper.h, so that no shot
// waits for the disk) so that a restarted server brings them back.
//
// It guards itself against hostile connections: frames and messages over
// the protocol's size are closed by the socket, a connection that sends
// more than its share of messages a second is refused and then closed, one
// address may hold only so many connections, and the server only so many
// rooms. A refused message never changes a room.
//
// A room whose game is over, or that everybody has left for good, is closed:
// it goes from memory and its kept file moves to <dataDir>/rooms/finished,
// where it stays but is not brought back.
//
// Qt Core and Qt WebSockets only, no window: the game can start one in its
// own process as the capzel-server program does.
#pragma once

#include <QHash>
#include <QObject>
#include <QSslConfiguration>
#include <QString>
#include <QTimer>

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

class QWebSocket;
class QWebSocketServer;

namespace capzel::network {

class WebPort;

struct ServerLimits {
    int messagesPerSecond = 20;       // per connection, with a burst of as many
    int floodedMessagesToClose = 100; // messages over the rate before the connection is closed
    int connectionsPerAddress = 16;
    int rooms = 1000;
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
    // Each computer shot is planned on one thread, and at most this many at
    // once (0: one fewer than the machine's cores, at least one), so that
    // the connections keep a core; rooms take turns.
    players::PlannerOptions planner{.threads = 1};
    int plansAtOnce = 0;
};

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
    struct Connection {
        QWebSocket* socket = nullptr;
        QString address;
        bool greeted = false;
        std::string name;
        std::string room;  // empty: in no room
        std::vector<int> seats;  // the seats it holds (none: a spectator)
        bool host = false;
        double aimAllowance = 0;  // aims it may still send now (over it they are dropped)
        qint64 lastAimRefill = 0;
        double allowance = 0;  // messages it may still send now
        qint64 lastRefill = 0;
        int flooded = 0;
    };

    void accept();
    void received(QWebSocket* socket, const QString& text);
    void dropped(QWebSocket* socket);
    void handle(Connection& c, protocol::Decoded message);
    void createRoom(Connection& c, const protocol::CreateRoom& setup);
    void joinRoom(Connection& c, const protocol::JoinRoom& join, bool maker = false);
    void shoot(Connection& c, const protocol::Shot& shot);
    void chat(Connection& c, const protocol::Chat& chat);
    void aim(Connection& c, protocol::Aim aim);
    void handToComputer(Connection& c, const protocol::HandToComputer& hand);
    bool aimWithinRate(Connection& c);
    void tick();
    void startPlans(int planning);
    void playComputer(server::Room& room);
    void close(server::Room& room);
    bool withinRate(Connection& c);

    void send(const Connection& c, const protocol::Message& message);
    void refuse(const Connection& c, const Refusal& refusal);
    void refuse(const Connection& c, RefusalCode code, std::string reason);
    void tellRoom(const std::string& code, const protocol::Message& message);
    void seatsChanged(server::Room& room);
    void keep(const server::Room& room);
    void bringBackRooms();
    QString roomsDir() const;

    ServerOptions options_;
    QWebSocketServer* server_ = nullptr;  // upgrades the connections the port hands it
    WebPort* port_ = nullptr;
    QTimer ticker_;
    server::TokenSource tokens_;
    std::unique_ptr<server::RoomKeeper> keeper_;  // none: rooms are not kept
    std::map<std::string, std::unique_ptr<server::Room>> rooms_;
    std::string nextToPlan_;  // where the rooms' turns at the planners go on
    QHash<QWebSocket*, Connection> connections_;
    QHash<QString, int> perAddress_;
};

}  // namespace capzel::network
