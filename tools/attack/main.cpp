// capzel-attack: hostile and watching clients for tools/bench-server.sh,
// against a server of this machine only.
//
//   capzel-attack aims   --server URL [--connections 15] [--seconds 20] [--bytes 15360]
//       Each connection says hello and sends aims of that size as fast as
//       the socket takes them; a connection the server closes is opened again.
//   capzel-attack squat  --server URL [--rooms 1000] [--at-once 15]
//       Makes a room and leaves it, so many times.
//   capzel-attack create --server URL
//       Makes a room; exit status 0 when it was made.
//   capzel-attack host   --server URL
//       Makes a room of two and prints "room CODE"; once the other seat's
//       player is shown as dropped, prints "dropped at T" (seconds since
//       1970) and ends.
//   capzel-attack join   --server URL --code CODE
//       Takes a seat in the room, prints "joined" and stays.
//
// Each prints what happened as one line of JSON (host and join: lines as above).
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QWebSocket>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>

#include "protocol/Messages.h"

using namespace capzel::protocol;
using capzel::PlayerKind;

namespace {

QString text(const Message& m) { return QString::fromStdString(encodeMessage(m)); }

void say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

// A connection that says hello and hands every later message to `heard`.
class Client : public QObject {
public:
    std::function<void(Client&)> welcomed;
    std::function<void(Client&, const Decoded&)> heard;
    std::function<void(Client&)> closed;
    QWebSocket socket;

    explicit Client(const QUrl& url, QObject* parent = nullptr) : QObject(parent) {
        connect(&socket, &QWebSocket::connected, this,
                [this] { socket.sendTextMessage(text(Hello{kProtocolVersion, "attack", "Mallory"})); });
        connect(&socket, &QWebSocket::textMessageReceived, this, [this](const QString& t) {
            const Decoded d = decodeMessage(t.toStdString());
            if (std::holds_alternative<Welcome>(d)) {
                if (welcomed) welcomed(*this);
            } else if (heard) {
                heard(*this, d);
            }
        });
        connect(&socket, &QWebSocket::disconnected, this, [this] {
            if (closed) closed(*this);
        });
        socket.open(url);
    }
};

int aims(const QUrl& url, int connections, int seconds, int bytes) {
    const QString aim = QStringLiteral("{\"type\":\"aim\",\"protocol\":1,\"seat\":0,\"aim\":[1,2,3,4],\"power\":5,"
                                       "\"charging\":true,\"pad\":\"%1\"}").arg(QString(bytes, QLatin1Char('x')));
    long sent = 0, closedByServer = 0;
    std::map<std::string, long> refusals;
    std::vector<std::unique_ptr<Client>> clients;
    std::function<void(std::size_t)> open = [&](std::size_t k) {
        auto client = std::make_unique<Client>(url);
        QWebSocket* socket = &client->socket;
        // As fast as the socket takes them, never more than a few waiting.
        const auto blast = [socket, &aim, &sent] {
            while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 256 * 1024) {
                socket->sendTextMessage(aim);
                ++sent;
            }
        };
        client->welcomed = [blast](Client&) { blast(); };
        QObject::connect(socket, &QWebSocket::bytesWritten, socket, blast);
        client->heard = [&refusals](Client&, const Decoded& d) {
            if (const auto* r = std::get_if<Refused>(&d)) ++refusals[r->reason];
        };
        client->closed = [&, k](Client&) {
            ++closedByServer;
            QTimer::singleShot(0, [&, k] { open(k); });
        };
        if (k < clients.size()) {
            clients[k]->closed = nullptr;
            clients[k]->deleteLater();
            clients[k].release();
            clients[k] = std::move(client);
        } else {
            clients.push_back(std::move(client));
        }
    };
    for (int k = 0; k < connections; ++k) open(std::size_t(k));
    QTimer::singleShot(seconds * 1000, qApp, [&] {
        QJsonObject out{{"sent_aims", qint64(sent)}, {"closed_by_server", qint64(closedByServer)}};
        QJsonObject reasons;
        for (const auto& [reason, count] : refusals) reasons.insert(QString::fromStdString(reason), qint64(count));
        out.insert("refusals", reasons);
        for (auto& c : clients) c->closed = nullptr;
        say(QJsonDocument(out).toJson(QJsonDocument::Compact).constData());
        QCoreApplication::exit(0);
    });
    return qApp->exec();
}

int squat(const QUrl& url, int rooms, int atOnce) {
    int started = 0, answered = 0;
    long made = 0;
    std::map<std::string, long> refusals;
    std::function<void()> next = [&] {
        if (started >= rooms) return;
        ++started;
        auto* client = new Client(url, qApp);
        client->welcomed = [](Client& c) {
            c.socket.sendTextMessage(text(CreateRoom{{PlayerKind::Human, PlayerKind::Human}, true, {}, {}}));
        };
        client->heard = [&](Client& c, const Decoded& d) {
            if (std::holds_alternative<Seats>(d) || std::holds_alternative<Chat>(d)) return;
            if (std::holds_alternative<Joined>(d)) ++made;
            if (const auto* r = std::get_if<Refused>(&d)) ++refusals[r->reason];
            c.heard = nullptr;
            c.socket.close();
        };
        client->closed = [&](Client& c) {
            c.deleteLater();
            if (++answered == rooms) {
                QJsonObject out{{"asked", rooms}, {"made", qint64(made)}};
                QJsonObject reasons;
                for (const auto& [reason, count] : refusals) reasons.insert(QString::fromStdString(reason), qint64(count));
                out.insert("refusals", reasons);
                say(QJsonDocument(out).toJson(QJsonDocument::Compact).constData());
                QCoreApplication::exit(0);
            }
            next();
        };
    };
    for (int k = 0; k < atOnce; ++k) next();
    return qApp->exec();
}

int create(const QUrl& url) {
    Client client(url);
    client.welcomed = [](Client& c) {
        c.socket.sendTextMessage(text(CreateRoom{{PlayerKind::Human, PlayerKind::Human}, true, {}, {}}));
    };
    client.heard = [](Client&, const Decoded& d) {
        if (const auto* j = std::get_if<Joined>(&d)) {
            say(QJsonDocument(QJsonObject{{"made", QString::fromStdString(j->code)}}).toJson(QJsonDocument::Compact));
            QCoreApplication::exit(0);
        } else if (const auto* r = std::get_if<Refused>(&d)) {
            say(QJsonDocument(QJsonObject{{"refused", QString::fromStdString(r->reason)}}).toJson(QJsonDocument::Compact));
            QCoreApplication::exit(1);
        }
    };
    client.closed = [](Client&) { QCoreApplication::exit(2); };
    return qApp->exec();
}

int host(const QUrl& url) {
    Client client(url);
    bool present = false;
    client.welcomed = [](Client& c) {
        c.socket.sendTextMessage(text(CreateRoom{{PlayerKind::Human, PlayerKind::Human}, true, {}, {}}));
    };
    client.heard = [&present](Client&, const Decoded& d) {
        if (const auto* j = std::get_if<Joined>(&d)) say(("room " + j->code).c_str());
        const auto* s = std::get_if<Seats>(&d);
        if (!s || s->seats.size() < 2) return;
        if (s->seats[1].presence == SeatPresence::Connected) present = true;
        if (present && s->seats[1].presence == SeatPresence::Waiting) {
            say(QStringLiteral("dropped at %1").arg(QDateTime::currentMSecsSinceEpoch() / 1000.0, 0, 'f', 3).toUtf8());
            QCoreApplication::exit(0);
        }
    };
    client.closed = [](Client&) { QCoreApplication::exit(2); };
    return qApp->exec();
}

int join(const QUrl& url, const std::string& code) {
    Client client(url);
    client.welcomed = [code](Client& c) { c.socket.sendTextMessage(text(JoinRoom{code, std::nullopt, {}, {}, false})); };
    client.heard = [](Client&, const Decoded& d) {
        if (std::holds_alternative<Joined>(d)) say("joined");
    };
    client.closed = [](Client&) { QCoreApplication::exit(2); };
    return qApp->exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument("mode", "aims, squat, create, host or join");
    parser.addOptions({{"server", "The server's address.", "url", "ws://127.0.0.1:7788"},
                       {"connections", "Connections at once (aims).", "n", "15"},
                       {"seconds", "How long (aims).", "s", "20"},
                       {"bytes", "An aim's padding (aims).", "n", "15360"},
                       {"rooms", "Rooms made and left (squat).", "n", "1000"},
                       {"at-once", "Rooms made at once (squat).", "n", "15"},
                       {"code", "The room's code (join).", "code"}});
    parser.process(app);
    const QUrl url(parser.value("server"));
    const QString mode = parser.positionalArguments().value(0);
    if (mode == QLatin1String("aims"))
        return aims(url, parser.value("connections").toInt(), parser.value("seconds").toInt(), parser.value("bytes").toInt());
    if (mode == QLatin1String("squat")) return squat(url, parser.value("rooms").toInt(), parser.value("at-once").toInt());
    if (mode == QLatin1String("create")) return create(url);
    if (mode == QLatin1String("host")) return host(url);
    if (mode == QLatin1String("join")) return join(url, parser.value("code").toStdString());
    std::fprintf(stderr, "capzel-attack: the mode is aims, squat, create, host or join\n");
    return 2;
}
