// What the server's front and the web port share in taking connections: a
// listener that takes each one as it comes instead of queueing it, and an
// address written one way however it arrives.
#pragma once

#include <QHostAddress>
#include <QString>
#include <QTcpServer>

#include <functional>
#include <utility>

namespace capzel::network {

class Listener final : public QTcpServer {
public:
    Listener(std::function<void(qintptr)> incoming, QObject* parent)
        : QTcpServer(parent), incoming_(std::move(incoming)) {}

protected:
    void incomingConnection(qintptr descriptor) override { incoming_(descriptor); }

private:
    std::function<void(qintptr)> incoming_;
};

// An IPv4 peer of a dual-stack socket shows as ::ffff:a.b.c.d: the address
// is written as IPv4 then, so that it counts as one.
inline QString addressText(const QHostAddress& address) {
    bool v4 = false;
    const quint32 ip = address.toIPv4Address(&v4);
    return v4 ? QHostAddress(ip).toString() : address.toString();
}

}  // namespace capzel::network
