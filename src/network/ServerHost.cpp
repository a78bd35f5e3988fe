#include "network/ServerHost.h"

#include <QDateTime>
#include <QDir>
#include <QWebSocket>
#include <QWebSocketServer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "capzel_version.h"
#include "network/WebPort.h"
#include "platform/RegularFile.h"

namespace capzel::network {

namespace {

constexpr const char* kRoomSuffix = ".room.json";
// How often the rooms' computers and seat holds are looked at.
constexpr int kTickMs = 50;
// The most aims a connection streams a second.
constexpr double kAimsPerSecond = 20;

std::string programVersion() {
    return std::to_string(CAPZEL_VERSION_MAJOR) + "." + std::to_string(CAPZEL_VERSION_MINOR) + "." +
           std::to_string(CAPZEL_VERSION_PATCH);
}

QString text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

ServerHost::ServerHost(ServerOptions options, QObject* parent) : QObject(parent), options_(std::move(options)) {
    // The port does TLS and serves the page; the WebSocket server only
    // upgrades what it is handed.
    server_ = new QWebSocketServer(QStringLiteral("capzel-server"), QWebSocketServer::NonSecureMode, this);
    connect(server_, &QWebSocketServer::newConnection, this, &ServerHost::accept);
    port_ = new WebPort(server::WebPages(options_.webRoot), options_.tls, options_.limits.connectionsPerAddress,
                        [this](QTcpSocket* socket) { server_->handleConnection(socket); }, this);
    connect(&ticker_, &QTimer::timeout, this, &ServerHost::tick);
}

ServerHost::~ServerHost() { stop(); }

bool ServerHost::start(QString* error) {
    bringBackRooms();
    if (!port_->listen(options_.port, error)) return false;
    ticker_.start(kTickMs);
    return true;
}

quint16 ServerHost::port() const { return port_->port(); }

void ServerHost::stop() {
    ticker_.stop();
    port_->close();
    server_->close();
    const auto sockets = connections_.keys();
    for (QWebSocket* socket : sockets) {
        socket->disconnect(this);
        socket->close(QWebSocketProtocol::CloseCodeGoingAway, QStringLiteral("The server stops."));
        socket->deleteLater();
    }
    connections_.clear();
    perAddress_.clear();
    if (keeper_) keeper_->flush();
}

void ServerHost::accept() {
    while (QWebSocket* socket = server_->nextPendingConnection()) {
        socket->setParent(this);
        socket->setMaxAllowedIncomingFrameSize(protocol::kMaxMessageBytes);
        socket->setMaxAllowedIncomingMessageSize(protocol::kMaxMessageBytes);
        const QString address = socket->peerAddress().toString();
        if (perAddress_.value(address) >= options_.limits.connectionsPerAddress) {
            socket->sendTextMessage(text(protocol::encodeMessage(protocol::Refused{RefusalCode::TooMany, "Too many connections from your address."})));
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("Too many connections."));
            socket->deleteLater();
            continue;
        }
        ++perAddress_[address];
        Connection c;
        c.socket = socket;
        c.address = address;
        c.allowance = options_.limits.messagesPerSecond;
        c.lastRefill = QDateTime::currentMSecsSinceEpoch();
        c.aimAllowance = kAimsPerSecond;
        c.lastAimRefill = c.lastRefill;
        connections_.insert(socket, c);
        connect(socket, &QWebSocket::textMessageReceived, this, [this, socket](const QString& m) { received(socket, m); });
        connect(socket, &QWebSocket::binaryMessageReceived, this, [this, socket](const QByteArray&) {
            if (auto it = connections_.find(socket); it != connections_.end() && withinRate(*it))
                refuse(*it, RefusalCode::BadMessage, "Messages are JSON text, not binary.");
        });
        connect(socket, &QWebSocket::disconnected, this, [this, socket]() { dropped(socket); });
    }
}

bool ServerHost::withinRate(Connection& c) {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const double rate = options_.limits.messagesPerSecond;
    c.allowance = std::min(rate, c.allowance + rate * double(now - c.lastRefill) / 1000.0);
    c.lastRefill = now;
    if (c.allowance >= 1) {
        c.allowance -= 1;
        return true;
    }
    if (++c.flooded >= options_.limits.floodedMessagesToClose) {
        c.socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("Too many messages."));
    } else if (c.flooded == 1 || c.flooded % options_.limits.messagesPerSecond == 0) {
        refuse(c, RefusalCode::TooMany, "Too many messages: at most " + std::to_string(options_.limits.messagesPerSecond) + " a second.");
    }
    return false;
}

// Aims come as fast as a mouse moves: they have a rate of their own, and
// those over it are dropped without a word, so that they never eat into
// the allowance of the shots and the rest.
bool ServerHost::aimWithinRate(Connection& c) {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const double rate = kAimsPerSecond;
    c.aimAllowance = std::min(rate, c.aimAllowance + rate * double(now - c.lastAimRefill) / 1000.0);
    c.lastAimRefill = now;
    if (c.aimAllowance < 1) return false;
    c.aimAllowance -= 1;
    return true;
}

void ServerHost::received(QWebSocket* socket, const QString& message) {
    const auto it = connections_.find(socket);
    if (it == connections_.end()) return;
    // Only a text that may be an aim is read before the rate is looked at.
    const bool mayBeAim = message.contains(QLatin1String("\"aim\""));
    if (!mayBeAim && !withinRate(*it)) return;
    protocol::Decoded decoded = protocol::decodeMessage(message.toStdString());
    if (auto* aimed = std::get_if<protocol::Aim>(&decoded)) {
        if (aimWithinRate(*it)) aim(*it, *aimed);
        return;
    }
    if (!mayBeAim || withinRate(*it)) handle(*it, std::move(decoded));
}

void ServerHost::handle(Connection& c, protocol::Decoded message) {
    if (const auto* refusal = std::get_if<protocol::Refusal>(&message))
        return refuse(c, RefusalCode::BadMessage, refusal->reason);
    if (const auto* hello = std::get_if<protocol::Hello>(&message)) {
        if (c.greeted) return refuse(c, RefusalCode::BadMessage, "Hello was said already.");
        c.greeted = true;
        c.name = hello->name;
        return send(c, protocol::Welcome{protocol::kProtocolVersion, programVersion()});
    }
    if (!c.greeted) return refuse(c, RefusalCode::BadMessage, "Say hello first.");
    if (const auto* m = std::get_if<protocol::CreateRoom>(&message)) return createRoom(c, *m);
    if (const auto* m = std::get_if<protocol::JoinRoom>(&message)) return joinRoom(c, *m);
    if (c.room.empty()) return refuse(c, RefusalCode::NotInRoom, "Join a room first.");
    if (const auto* m = std::get_if<protocol::Shot>(&message)) return shoot(c, *m);
    if (const auto* m = std::get_if<protocol::Chat>(&message)) return chat(c, *m);
    if (const auto* m = std::get_if<protocol::HandToComputer>(&message)) return handToComputer(c, *m);
    if (std::holds_alternative<protocol::StateRequest>(message)) {
        const server::Room& room = *rooms_.at(c.room);
        if (!room.begun()) return refuse(c, RefusalCode::GameNotBegun, "The game has not begun.");
        return send(c, room.state());
    }
    refuse(c, RefusalCode::BadMessage, "The server does not take this message from a player.");
}

void ServerHost::createRoom(Connection& c, const protocol::CreateRoom& setup) {
    if (!c.room.empty()) return refuse(c, RefusalCode::Other, "You are in room " + c.room + " already.");
    if (int(rooms_.size()) >= options_.limits.rooms)
        return refuse(c, RefusalCode::TooMany,
                      "The server holds as many rooms as it can (" + std::to_string(options_.limits.rooms) + ").");
    if (const auto wrong = server::Room::setupRefusal(setup)) return refuse(c, *wrong);
    std::string code = tokens_.roomCode(options_.codePrefix);
    while (rooms_.count(code) > 0) code = tokens_.roomCode(options_.codePrefix);
    rooms_.emplace(code, std::make_unique<server::Room>(code, setup, options_.planner));
    protocol::JoinRoom maker{code, std::nullopt, setup.mine, {}, false};
    joinRoom(c, maker, true);
}

void ServerHost::joinRoom(Connection& c, const protocol::JoinRoom& join, bool maker) {
    if (!c.room.empty()) return refuse(c, RefusalCode::Other, "You are in room " + c.room + " already.");
    const auto found = rooms_.find(join.code);
    if (found == rooms_.end()) return refuse(c, RefusalCode::NoSuchRoom, "No room has the code " + join.code + ".");
    server::Room& room = *found->second;
    if (join.spectate) {
        c.room = join.code;
        send(c, protocol::Joined{join.code, {}, {}, false, room.seats()});
        if (room.begun()) send(c, room.state());
        return;
    }
    const bool begunBefore = room.begun();
    const server::JoinRequest request{c.name, join.token, join.seats, join.names, maker};
    const server::JoinResult joined = room.join(request, tokens_, server::Clock::now());
    if (joined.refusal) return refuse(c, *joined.refusal);
    // A token taken back from another connection: that one leaves its seats.
    for (Connection& other : connections_) {
        if (&other == &c || other.room != join.code || other.seats.empty() || other.seats.front() != joined.seat) continue;
        refuse(other, RefusalCode::TokenHoldsNoSeat, "Your seat was taken back with its token from another connection.");
        other.room.clear();
        other.seats.clear();
    }
    c.room = join.code;
    c.seats = joined.seats;
    c.host = room.seatDetails()[std::size_t(joined.seat - 1)].host;
    send(c, protocol::Joined{join.code, joined.seats, joined.token, c.host, room.seats()});
    seatsChanged(room);
    if (room.begun() && !begunBefore)
        tellRoom(c.room, room.state());
    else if (room.begun())
        send(c, room.state());
}

void ServerHost::shoot(Connection& c, const protocol::Shot& shot) {
    if (c.seats.empty()) return refuse(c, RefusalCode::NotAPlayer, "A spectator does not shoot.");
    server::Room& room = *rooms_.at(c.room);
    // A connection of several seats shoots for the one on turn.
    const int onTurn = room.seatOnTurn();
    const bool holdsTurn = std::find(c.seats.begin(), c.seats.end(), onTurn) != c.seats.end();
    server::ShotResult result = room.shoot(holdsTurn ? onTurn : c.seats.front(), shot);
    if (result.refusal) return refuse(c, *result.refusal);
    tellRoom(c.room, result.accepted);
    keep(room);
}

void ServerHost::chat(Connection& c, const protocol::Chat& chat) {
    tellRoom(c.room, protocol::Chat{chat.text, c.seats.empty() ? 0 : c.seats.front()});
}

// An aim is passed on to everyone else in the room, only from the
// connection that holds the seat on turn; anything else is dropped.
void ServerHost::aim(Connection& c, protocol::Aim aim) {
    if (!c.greeted || c.room.empty()) return;
    const int onTurn = rooms_.at(c.room)->seatOnTurn();
    if (onTurn == 0 || std::find(c.seats.begin(), c.seats.end(), onTurn) == c.seats.end()) return;
    aim.seat = onTurn;
    const QString encoded = text(protocol::encodeMessage(aim));
    for (const Connection& other : std::as_const(connections_))
        if (other.room == c.room && other.socket != c.socket) other.socket->sendTextMessage(encoded);
}

void ServerHost::handToComputer(Connection& c, const protocol::HandToComputer& hand) {
    server::Room& room = *rooms_.at(c.room);
    const std::optional<Refusal> refusal =
        c.seats.empty() ? Refusal{RefusalCode::NotHost, "Only the room's host hands a seat to the computer."}
                        : room.handToComputer(c.seats.front(), hand.seat);
    if (refusal) return refuse(c, *refusal);
    seatsChanged(room);
}

void ServerHost::dropped(QWebSocket* socket) {
    const auto it = connections_.find(socket);
    if (it == connections_.end()) return;
    const Connection c = *it;
    connections_.erase(it);
    if (--perAddress_[c.address] <= 0) perAddress_.remove(c.address);
    socket->deleteLater();
    if (c.room.empty()) return;
    const auto room = rooms_.find(c.room);
    if (room == rooms_.end()) return;
    for (int seat : c.seats) room->second->leave(seat, server::Clock::now());
    if (c.seats.empty()) return;
    seatsChanged(*room->second);
}

void ServerHost::tick() {
    const auto now = server::Clock::now();
    int planning = 0;
    for (auto it = rooms_.begin(); it != rooms_.end();) {
        server::Room& room = *it->second;
        if (room.releaseExpiredHolds(now)) seatsChanged(room);
        if (room.planning()) playComputer(room);
        planning += room.planning() ? 1 : 0;
        if (room.ending(now) == server::RoomEnd::Open) {
            ++it;
            continue;
        }
        close(room);
        it = rooms_.erase(it);
    }
    startPlans(planning);
}

// The rooms whose computer is to play start planning while planners are
// free, each turn going on from the room after the last one started.
void ServerHost::startPlans(int planning) {
    const int cores = int(std::thread::hardware_concurrency());
    const int most = options_.plansAtOnce > 0 ? options_.plansAtOnce : std::max(1, cores - 1);
    auto it = rooms_.lower_bound(nextToPlan_);
    for (std::size_t looked = 0; looked < rooms_.size() && planning < most; ++looked, ++it) {
        if (it == rooms_.end()) it = rooms_.begin();
        server::Room& room = *it->second;
        if (room.planning() || !room.computerToPlay()) continue;
        playComputer(room);
        if (!room.planning()) continue;
        ++planning;
        nextToPlan_ = it->first + '\x7f';  // the next code after this one
    }
}

void ServerHost::playComputer(server::Room& room) {
    if (const std::optional<protocol::Accepted> played = room.pollComputer()) {
        tellRoom(room.code(), *played);
        keep(room);
    }
}

void ServerHost::close(server::Room& room) {
    for (Connection& c : connections_) {
        if (c.room != room.code()) continue;
        refuse(c, RefusalCode::GameOver, "Room " + room.code() + " has closed: its game is over.");
        c.room.clear();
        c.seats.clear();
        c.host = false;
    }
    // A game without a shot leaves nothing worth keeping.
    if (keeper_) keeper_->close(room.code(), room.shotCount() > 0);
}

void ServerHost::send(const Connection& c, const protocol::Message& message) {
    c.socket->sendTextMessage(text(protocol::encodeMessage(message)));
}

void ServerHost::refuse(const Connection& c, const Refusal& refusal) {
    send(c, protocol::Refused{refusal.code, refusal.text});
}

void ServerHost::refuse(const Connection& c, RefusalCode code, std::string reason) {
    send(c, protocol::Refused{code, std::move(reason)});
}

void ServerHost::tellRoom(const std::string& code, const protocol::Message& message) {
    const QString encoded = text(protocol::encodeMessage(message));
    for (const Connection& c : std::as_const(connections_))
        if (c.room == code) c.socket->sendTextMessage(encoded);
}

void ServerHost::seatsChanged(server::Room& room) {
    tellRoom(room.code(), protocol::Seats{room.seats()});
    keep(room);
}

QString ServerHost::roomsDir() const { return options_.dataDir.isEmpty() ? QString() : options_.dataDir + "/rooms"; }

void ServerHost::keep(const server::Room& room) {
    if (keeper_) keeper_->keep(room.code(), room.roomText());
}

void ServerHost::bringBackRooms() {
    if (roomsDir().isEmpty()) return;
    QDir dir(roomsDir());
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "capzel-server: the folder %s cannot be made; rooms are not kept\n", qPrintable(roomsDir()));
        return;
    }
    keeper_ = std::make_unique<server::RoomKeeper>(roomsDir().toStdString(), kRoomSuffix, [](const std::string& error) {
        std::fprintf(stderr, "capzel-server: %s\n", error.c_str());
    });
    const auto files = dir.entryList({QStringLiteral("*") + kRoomSuffix}, QDir::Files, QDir::Name);
    for (const QString& name : files) {
        const std::string path = dir.filePath(name).toStdString();
        const std::optional<std::string> content = readRegularFile(path, kMaxGameRecordBytes + 64 * 1024);
        std::string error = "it cannot be read";
        auto room = content ? server::Room::fromText(*content, server::Clock::now(), &error, options_.planner) : nullptr;
        if (!room) {
            std::fprintf(stderr, "capzel-server: the room %s is not brought back: %s\n", path.c_str(), error.c_str());
            continue;
        }
        const std::string code = room->code();
        rooms_.emplace(code, std::move(room));
    }
}

}  // namespace capzel::network
