// The server's one port for browsers and programs alike: each connection
// is taken (through TLS when the server has a certificate), its request's
// head read without taking it from the socket, and then
//  - a WebSocket upgrade is handed on, untouched, to the game's WebSocket
//    server (`upgrade`);
//  - any other request is answered from the web root (server/WebPages.h)
//    and the connection closed.
// A connection whose head does not come within the handshake time, or
// that sends more than a head may hold, is cut; one address has only so
// many connections here at once.
//
// A server that takes its connections itself hands each one, past TLS, to
// take().
#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QSslConfiguration>
#include <QString>

#include <functional>
#include <optional>

#include "server/WebPages.h"

class QTcpServer;
class QTcpSocket;

namespace capzel::network {

class WebPort : public QObject {
    Q_OBJECT
public:
    using Upgrade = std::function<void(QTcpSocket*)>;
    WebPort(server::WebPages pages, std::optional<QSslConfiguration> tls, int connectionsPerAddress,
            Upgrade upgrade, QObject* parent = nullptr);

    bool listen(quint16 port, QString* error);
    quint16 port() const;
    void close();

    // A connection (past TLS) whose request is read here; it is this port's
    // until handed to `upgrade`.
    void take(QTcpSocket* socket);

    // True while an answer to a page's request is on its way (the
    // connection's time is then the sending time).
    bool sending(QTcpSocket* socket) const { return held_.contains(socket) && !reading_.contains(socket); }

    const server::WebPages& pages() const { return pages_; }
    // How long a connection has for its TLS handshake and its request's
    // head, and then for the answer to go.
    static constexpr int kHeadMs = 5000;
    static constexpr int kSendMs = 120000;

private:
    void incoming(qintptr descriptor);
    bool hold(QTcpSocket* socket);
    void readHead(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const server::PageAnswer& answer);
    void release(QTcpSocket* socket);

    server::WebPages pages_;
    std::optional<QSslConfiguration> tls_;
    int connectionsPerAddress_;
    Upgrade upgrade_;
    QTcpServer* listener_ = nullptr;
    QHash<QTcpSocket*, QString> held_;  // the connections this port has, and their address
    QSet<QTcpSocket*> reading_;          // those whose head is awaited
    QHash<QString, int> perAddress_;
};

}  // namespace capzel::network
