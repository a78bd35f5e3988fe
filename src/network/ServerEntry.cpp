// How a connection comes in: the TCP connection is taken at once (nothing
// waits in a queue of pending connections that a few silent ones could
// fill), counted against its address, brought through TLS when the server
// has a certificate, and handed to the WebSocket server for the upgrade;
// all of it within the handshake time, or it is cut. Handshakes go on side
// by side.
#include <QSslSocket>
#include <QTcpServer>
#include <QWebSocket>
#include <QWebSocketServer>

#include <unistd.h>

#include "network/ConnectionIntake.h"
#include "network/ServerHost.h"
#include "network/WebPort.h"

namespace capzel::network {

namespace {

// A kernel send buffer of a fixed size for each connection (Linux doubles
// it): without one it grows by itself to megabytes for a peer that does not
// read.
constexpr int kSendBufferBytes = 128 * 1024;


}  // namespace

ServerHost::ServerHost(ServerOptions options, QObject* parent) : QObject(parent), options_(std::move(options)) {
    clock_.start();
    listener_ = new Listener([this](qintptr descriptor) { incoming(descriptor); }, this);
    upgrader_ = new QWebSocketServer(QStringLiteral("capzel-server"), QWebSocketServer::NonSecureMode, this);
    upgrader_->setMaxPendingConnections(1 << 20);
    connect(upgrader_, &QWebSocketServer::newConnection, this, &ServerHost::arrived);
    // The port reads each arrival's request: a page of the web client is
    // answered there, an upgrade comes back to be made a WebSocket. It holds
    // no more of an address's connections than this host already let in.
    port_ = new WebPort(server::WebPages(options_.webRoot), std::nullopt, options_.limits.connectionsPerAddress + 1,
                        [this](QTcpSocket* transport) { handOver(transport); }, this);
    connect(&ticker_, &QTimer::timeout, this, &ServerHost::tick);
    connect(&sweeper_, &QTimer::timeout, this, &ServerHost::sweep);
}

void ServerHost::incoming(qintptr descriptor) {
    QTcpSocket* transport = options_.tls ? new QSslSocket(this) : new QTcpSocket(this);
    if (!transport->setSocketDescriptor(descriptor)) {
        ::close(int(descriptor));
        delete transport;
        return;
    }
    transport->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBufferBytes);
    const QString address = addressText(transport->peerAddress());
    AddressUse& use = addresses_[address];
    // One more than the address may hold is still told why (below); more at
    // once are cut without a word.
    if (use.connections > options_.limits.connectionsPerAddress) {
        transport->abort();
        delete transport;
        return;
    }
    ++use.connections;
    arrivals_.insert(transport, Arrival{address, nowMs() + options_.times.handshakeMs, false});
    connect(transport, &QObject::destroyed, this, [this, transport] { arrivalEnded(transport); });
    if (auto* tls = qobject_cast<QSslSocket*>(transport)) {
        tls->setSslConfiguration(*options_.tls);
        connect(tls, &QSslSocket::encrypted, this, [this, tls] { upgrade(tls); });
        connect(tls, &QAbstractSocket::disconnected, tls, &QObject::deleteLater);
        connect(tls, &QAbstractSocket::errorOccurred, tls, [tls] {
            if (tls->state() != QAbstractSocket::ConnectedState) tls->deleteLater();
        });
        connect(tls, &QSslSocket::sslErrors, tls, [tls] { tls->abort(); });
        tls->startServerEncryption();
        return;
    }
    upgrade(transport);
}

void ServerHost::upgrade(QTcpSocket* transport) {
    if (!arrivals_.contains(transport)) return;
    port_->take(transport);
}

void ServerHost::handOver(QTcpSocket* transport) {
    const auto it = arrivals_.find(transport);
    if (it == arrivals_.end()) {  // cut meanwhile: the port has let it go
        transport->abort();
        transport->deleteLater();
        return;
    }
    it->upgrading = true;
    // The WebSocket server takes the socket over (and deletes it when it
    // goes): what this host connected to it is no more.
    transport->disconnect(transport);
    upgrader_->handleConnection(transport);
}

void ServerHost::arrived() {
    while (QWebSocket* socket = upgrader_->nextPendingConnection()) {
        socket->setParent(this);
        const QString address = addressText(socket->peerAddress());
        QTcpSocket* transport = nullptr;
        for (auto it = arrivals_.begin(); it != arrivals_.end(); ++it) {
            if (it->address == address && it.key()->peerPort() == socket->peerPort()) {
                transport = it.key();
                arrivals_.erase(it);
                break;
            }
        }
        if (!transport) {  // its time ran out meanwhile
            socket->abort();
            socket->deleteLater();
            continue;
        }
        adopt(socket, transport, address);
    }
}

void ServerHost::adopt(QWebSocket* socket, QTcpSocket* transport, const QString& address) {
    socket->setMaxAllowedIncomingFrameSize(protocol::kMaxMessageBytes);
    socket->setMaxAllowedIncomingMessageSize(protocol::kMaxMessageBytes);
    Connection c;
    c.socket = socket;
    c.transport = transport;
    c.address = address;
    const qint64 now = nowMs();
    c.messages.since = c.aims.since = now;
    c.lastHeardMs = c.lastPingMs = now;
    Connection& in = *connections_.insert(socket, c);
    // A drop is handled from the event loop, never from inside a call that
    // closed the socket and still holds its connection.
    connect(socket, &QWebSocket::disconnected, this, [this, socket] { dropped(socket); }, Qt::QueuedConnection);
    if (addresses_.value(address).connections > options_.limits.connectionsPerAddress) {
        refuse(in, RefusalCode::TooMany, "Too many connections from your address.");
        in.closing = true;
        in.closingSinceMs = now;
        socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("Too many connections."));
        return;
    }
    connect(socket, &QWebSocket::textMessageReceived, this, [this, socket](const QString& m) { received(socket, m); });
    connect(socket, &QWebSocket::binaryMessageReceived, this,
            [this, socket](const QByteArray&) { received(socket, QString(), true); });
    connect(socket, &QWebSocket::pong, this, [this, socket] {
        if (auto it = connections_.find(socket); it != connections_.end()) it->lastHeardMs = nowMs();
    });
}

// A connection that never became a WebSocket: its address holds one fewer.
void ServerHost::arrivalEnded(QTcpSocket* transport) {
    const auto it = arrivals_.find(transport);
    if (it == arrivals_.end()) return;
    const QString address = it->address;
    arrivals_.erase(it);
    releaseAddress(address);
}

void ServerHost::releaseAddress(const QString& address) {
    const auto it = addresses_.find(address);
    if (it == addresses_.end()) return;
    if (--it->connections <= 0 && it->waitingRooms <= 0) addresses_.erase(it);
}

// Once a second: arrivals out of time are cut, silent connections pinged or
// dropped, and connections closed by the server that linger are cut.
void ServerHost::sweep() {
    const qint64 now = nowMs();
    std::vector<QTcpSocket*> late;
    for (auto it = arrivals_.cbegin(); it != arrivals_.cend(); ++it)
        if (now >= it->deadlineMs && !port_->sending(it.key())) late.push_back(it.key());
    for (QTcpSocket* transport : late) {
        const bool upgrading = arrivals_.value(transport).upgrading;
        transport->abort();
        if (!upgrading) transport->deleteLater();  // the WebSocket server deletes its own
    }
    std::vector<Connection*> silent;
    for (Connection& c : connections_) {
        if (c.closing) {
            if (now - c.closingSinceMs >= 2000) silent.push_back(&c);
            continue;
        }
        if (now - c.lastHeardMs >= options_.times.silentMs) {
            silent.push_back(&c);
        } else if (now - c.lastHeardMs >= options_.times.pingMs && now - c.lastPingMs >= options_.times.pingMs) {
            c.lastPingMs = now;
            c.socket->ping();
        }
    }
    for (Connection* c : silent) cut(*c);
}

}  // namespace capzel::network
