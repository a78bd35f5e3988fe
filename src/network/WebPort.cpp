#include "network/WebPort.h"

#include <QSslSocket>
#include <QTcpServer>
#include <QTimer>

#include <unistd.h>

#include "network/ConnectionIntake.h"

namespace capzel::network {

WebPort::WebPort(server::WebPages pages, std::optional<QSslConfiguration> tls, int connectionsPerAddress,
                 Upgrade upgrade, QObject* parent)
    : QObject(parent),
      pages_(std::move(pages)),
      tls_(std::move(tls)),
      connectionsPerAddress_(connectionsPerAddress),
      upgrade_(std::move(upgrade)) {
    listener_ = new Listener([this](qintptr descriptor) { incoming(descriptor); }, this);
}

bool WebPort::listen(quint16 port, QString* error) {
    if (listener_->listen(QHostAddress::Any, port)) return true;
    if (error) *error = listener_->errorString();
    return false;
}

quint16 WebPort::port() const { return listener_ ? listener_->serverPort() : 0; }

void WebPort::close() {
    if (listener_) listener_->close();
    const auto sockets = held_.keys();
    for (QTcpSocket* socket : sockets) socket->abort();
}

void WebPort::incoming(qintptr descriptor) {
    QTcpSocket* socket = tls_ ? new QSslSocket(this) : new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        ::close(int(descriptor));
        delete socket;
        return;
    }
    if (!hold(socket)) return;
    if (auto* secure = qobject_cast<QSslSocket*>(socket)) {
        secure->setSslConfiguration(*tls_);
        connect(secure, &QSslSocket::encrypted, this, [this, secure] { take(secure); });
        connect(secure, &QSslSocket::sslErrors, secure, [secure] { secure->abort(); });
        secure->startServerEncryption();
        return;
    }
    take(socket);
}

// Counts the connection against its address; false (and it is gone) when
// the address has no room for one more.
bool WebPort::hold(QTcpSocket* socket) {
    const QString address = addressText(socket->peerAddress());
    if (perAddress_.value(address) >= connectionsPerAddress_) {
        socket->abort();
        socket->deleteLater();
        return false;
    }
    ++perAddress_[address];
    held_.insert(socket, address);
    reading_.insert(socket);
    connect(socket, &QObject::destroyed, this, [this, socket] { release(socket); });
    connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QAbstractSocket::errorOccurred, this, [socket] {
        if (socket->state() != QAbstractSocket::ConnectedState) socket->deleteLater();
    });
    // Neither the handshake nor the head may keep the connection longer.
    QTimer::singleShot(kHeadMs, socket, [this, socket] {
        if (reading_.contains(socket)) socket->abort();
    });
    return true;
}

void WebPort::take(QTcpSocket* socket) {
    if (!held_.contains(socket) && !hold(socket)) return;
    connect(socket, &QIODevice::readyRead, this, [this, socket] { readHead(socket); });
    readHead(socket);
}

// The head is looked at without being read, so that the WebSocket server
// reads it whole when the request is an upgrade.
void WebPort::readHead(QTcpSocket* socket) {
    if (!reading_.contains(socket)) return;
    const QByteArray received = socket->peek(qint64(server::kMaxRequestHeadBytes) + 1);
    const std::string_view text(received.constData(), std::size_t(received.size()));
    const auto length = server::requestHeadLength(text);
    if (!length) {
        if (std::size_t(received.size()) > server::kMaxRequestHeadBytes) answer(socket, server::WebPages::headTooLong());
        return;
    }
    const std::string_view head = text.substr(0, *length);
    if (!server::isWebSocketUpgrade(head)) return answer(socket, pages_.answer(head));
    // The WebSocket server takes the socket over, and counts it itself.
    release(socket);
    socket->disconnect(this);
    disconnect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
    upgrade_(socket);
}

// The answer is sent and the connection closed once it has gone, within
// the sending time (a page's core to a slow phone).
void WebPort::answer(QTcpSocket* socket, const server::PageAnswer& answer) {
    reading_.remove(socket);
    disconnect(socket, &QIODevice::readyRead, this, nullptr);
    socket->write(answer.bytes.data(), qint64(answer.bytes.size()));
    socket->disconnectFromHost();
    QTimer::singleShot(kSendMs, socket, [socket] { socket->abort(); });
}

// The connection is no longer this port's to count.
void WebPort::release(QTcpSocket* socket) {
    reading_.remove(socket);
    const auto it = held_.find(socket);
    if (it == held_.end()) return;
    const QString address = it.value();
    held_.erase(it);
    if (--perAddress_[address] <= 0) perAddress_.remove(address);
}

}  // namespace capzel::network
