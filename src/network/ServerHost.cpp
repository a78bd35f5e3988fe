#include "network/ServerHost.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QWebSocket>
#include <QWebSocketServer>

#include <algorithm>
#include <sys/socket.h>

#include "capzel_version.h"
#include "network/WebPort.h"

namespace capzel::network {

namespace {

// How often the rooms' computers and seat holds are looked at, and the
// connections' silences and arrivals.
constexpr int kTickMs = 50;
constexpr int kSweepMs = 1000;

std::string programVersion() {
    return std::to_string(CAPZEL_VERSION_MAJOR) + "." + std::to_string(CAPZEL_VERSION_MINOR) + "." +
           std::to_string(CAPZEL_VERSION_PATCH);
}

QString text(const std::string& s) { return QString::fromStdString(s); }

// How an aim from a player's program begins: such a message is counted
// against the aims' rate, any other against the messages'.
const QString kAimStart = QStringLiteral("{\"type\":\"aim\"");

}  // namespace

void ServerHost::Allowance::refill(double perSecond, qint64 nowMs) {
    spent = std::max(0.0, spent - perSecond * double(nowMs - since) / 1000.0);
    since = nowMs;
}

bool ServerHost::Allowance::take(double perSecond, double burst, qint64 nowMs) {
    refill(perSecond, nowMs);
    if (exhausted(burst)) return false;
    spent += 1;
    return true;
}

ServerHost::~ServerHost() { stop(); }

bool ServerHost::start(QString* error) {
    bringBackRooms();
    if (!listener_->listen(QHostAddress::Any, options_.port)) {
        if (error) *error = listener_->errorString();
        return false;
    }
    ticker_.start(kTickMs);
    sweeper_.start(std::min(kSweepMs, std::max(50, options_.times.pingMs / 4)));
    return true;
}

quint16 ServerHost::port() const { return listener_->serverPort(); }

void ServerHost::stop() {
    ticker_.stop();
    sweeper_.stop();
    listener_->close();
    port_->close();
    const auto arriving = arrivals_.keys();
    arrivals_.clear();
    for (QTcpSocket* transport : arriving) transport->abort();
    const auto sockets = connections_.keys();
    connections_.clear();
    for (QWebSocket* socket : sockets) {
        socket->disconnect(this);
        socket->close(QWebSocketProtocol::CloseCodeGoingAway, QStringLiteral("The server stops."));
        socket->deleteLater();
    }
    addresses_.clear();
    for (auto& [code, place] : rooms_) place.members.clear();
    if (keeper_) keeper_->flush();
}

void ServerHost::received(QWebSocket* socket, const QString& message, bool binary) {
    const auto it = connections_.find(socket);
    if (it == connections_.end() || it->closing) return;
    Connection& c = *it;
    const qint64 now = nowMs();
    c.lastHeardMs = now;
    // Counted before anything is read of it.
    const bool aimed = message.startsWith(kAimStart);
    const ServerLimits& limits = options_.limits;
    const bool within = aimed ? c.aims.take(limits.aimsPerSecond, limits.aimsPerSecond, now)
                              : c.messages.take(limits.messagesPerSecond, limits.messagesPerSecond, now);
    if (!within) return flooded(c, aimed);
    if (binary) return refuse(c, RefusalCode::BadMessage, "Messages are JSON text, not binary.");
    if (aimed && message.size() > kMaxAimBytes) {
        refuse(c, RefusalCode::BadMessage, "An aim is at most " + std::to_string(kMaxAimBytes) + " bytes.");
        return flooded(c);
    }
    const std::string bytes = message.toStdString();
    protocol::Decoded decoded = protocol::decodeMessage(bytes);
    if (auto* a = std::get_if<protocol::Aim>(&decoded)) {
        if (qsizetype(bytes.size()) > kMaxAimBytes) {
            refuse(c, RefusalCode::BadMessage, "An aim is at most " + std::to_string(kMaxAimBytes) + " bytes.");
            return flooded(c);
        }
        return aim(c, *a);
    }
    handle(c, std::move(decoded));
}

// A message over its rate: refused at first and now and then (an aim
// quietly), and after so many in a short time the connection is closed.
void ServerHost::flooded(Connection& c, bool quietly) {
    const ServerLimits& limits = options_.limits;
    Allowance& lately = c.flooded;
    lately.refill(limits.messagesPerSecond, nowMs());
    const bool first = lately.spent < 1;
    lately.spent += 1;
    if (lately.spent >= limits.floodedMessagesToClose) {
        c.closing = true;
        c.closingSinceMs = nowMs();
        c.socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("Too many messages."));
    } else if (!quietly && (first || ++c.floodRefusals % std::max(1, limits.messagesPerSecond) == 0)) {
        refuse(c, RefusalCode::TooMany, "Too many messages: at most " + std::to_string(limits.messagesPerSecond) + " a second.");
    }
}

// The connection goes at once, from the event loop: whatever it was still
// to be sent is thrown away (the peer is reset rather than left to read it).
void ServerHost::cut(Connection& c) {
    if (!c.closing) {
        c.closing = true;
        c.closingSinceMs = nowMs();
    }
    QWebSocket* socket = c.socket;
    QPointer<QTcpSocket> transport = c.transport;
    QTimer::singleShot(0, socket, [socket, transport] {
        if (transport && transport->socketDescriptor() >= 0) {
            const linger reset{1, 0};
            ::setsockopt(int(transport->socketDescriptor()), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        }
        socket->abort();
    });
}

void ServerHost::dropped(QWebSocket* socket) {
    const auto it = connections_.find(socket);
    if (it == connections_.end()) return;
    Connection c = *it;
    connections_.erase(it);
    socket->deleteLater();
    releaseAddress(c.address);
    leaveRoom(c);
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
    RoomPlace* place = placeOf(c);
    if (!place) return refuse(c, RefusalCode::NotInRoom, "Join a room first.");
    if (const auto* m = std::get_if<protocol::Shot>(&message)) return shoot(c, *m);
    if (const auto* m = std::get_if<protocol::Chat>(&message)) return chat(c, *m);
    if (const auto* m = std::get_if<protocol::HandToComputer>(&message)) return handToComputer(c, *m);
    if (std::holds_alternative<protocol::StateRequest>(message)) {
        if (!place->room->begun()) return refuse(c, RefusalCode::GameNotBegun, "The game has not begun.");
        return send(c, place->room->state());
    }
    refuse(c, RefusalCode::BadMessage, "The server does not take this message from a player.");
}

void ServerHost::send(Connection& c, const protocol::Message& message) {
    sendText(c, text(protocol::encodeMessage(message)));
}

// A connection that does not read what it is sent is closed once its
// unsent bytes pass the limit, rather than held in memory without end.
void ServerHost::sendText(Connection& c, const QString& message) {
    if (c.closing) return;
    c.socket->sendTextMessage(message);
    if (c.socket->bytesToWrite() > options_.limits.unsentBytes) cut(c);
}

void ServerHost::refuse(Connection& c, const Refusal& refusal) { send(c, protocol::Refused{refusal.code, refusal.text}); }

void ServerHost::refuse(Connection& c, RefusalCode code, std::string reason) {
    send(c, protocol::Refused{code, std::move(reason)});
}

}  // namespace capzel::network
