// capzel-relay: a bare Qt WebSockets relay speaking just enough of the
// online game for capzel-loadgen --relay: a hello is welcomed, a room made
// or joined by its code, the room's start (sent by its maker) passed to
// everyone once all its seats are taken, and every other message of a room
// member passed as it came to the whole room. Nothing is played, checked
// or kept: what a server does beyond this is what it costs more.
//
//   capzel-relay [--port 0] [--epoll]
//
// Qt's own event loop, as a plain Qt program has it (--epoll: this
// project's, to compare). Listens on the loopback interface only.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWebSocket>
#include <QWebSocketServer>

#include <cstdio>
#include <cstring>
#include <vector>

#include "network/EpollDispatcher.h"
#include "protocol/Messages.h"

namespace {

struct RelayRoom {
    int seats = 0;
    std::vector<QWebSocket*> members;
    QString start;  // the game's start, from the maker
    bool begun = false;
};

class Relay : public QObject {
public:
    explicit Relay(QWebSocketServer& server) : server_(server) {
        connect(&server_, &QWebSocketServer::newConnection, this, [this] {
            while (QWebSocket* socket = server_.nextPendingConnection()) {
                connect(socket, &QWebSocket::textMessageReceived, this,
                        [this, socket](const QString& text) { received(socket, text); });
                connect(socket, &QWebSocket::disconnected, this, [this, socket] { left(socket); });
            }
        });
    }

private:
    static QString json(const QJsonObject& o) { return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)); }

    QString newCode() {
        const auto letters = capzel::protocol::kRoomCodeLetters;
        QString code;
        for (int k = 0, n = ++made_; k < int(capzel::protocol::kRoomCodeLength); ++k, n /= int(letters.size()))
            code += QLatin1Char(letters[std::size_t(n) % letters.size()]);
        return code;
    }

    QString joined(const QString& code, const RelayRoom& room, int seat) const {
        QJsonArray seats;
        for (int k = 1; k <= room.seats; ++k)
            seats.append(QJsonObject{{"seat", k}, {"name", QStringLiteral("Load %1").arg(k)}, {"presence", "connected"},
                                     {"kind", "human"}, {"host", k == 1}});
        return json({{"type", "joined"}, {"protocol", capzel::protocol::kProtocolVersion}, {"code", code},
                     {"mine", QJsonArray{seat}}, {"token", QString(32, QLatin1Char('0'))}, {"host", seat == 1},
                     {"seats", seats}});
    }

    void received(QWebSocket* socket, const QString& text) {
        if (const auto in = roomOf_.constFind(socket); in != roomOf_.constEnd()) {
            RelayRoom& room = rooms_[*in];
            if (socket == room.members.front() && room.start.isEmpty() && text.contains(QLatin1String("\"state\""))) {
                room.start = text;
                return beginIfFull(room);
            }
            for (QWebSocket* member : room.members) member->sendTextMessage(text);
            return;
        }
        const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
        const QString type = o.value("type").toString();
        if (type == QLatin1String("hello")) {
            socket->sendTextMessage(json({{"type", "welcome"}, {"protocol", capzel::protocol::kProtocolVersion},
                                          {"serverVersion", "relay"}}));
        } else if (type == QLatin1String("createRoom")) {
            const QString code = newCode();
            RelayRoom& room = rooms_[code];
            room.seats = int(o.value("seats").toArray().size());
            room.members.push_back(socket);
            roomOf_.insert(socket, code);
            socket->sendTextMessage(joined(code, room, 1));
        } else if (type == QLatin1String("joinRoom")) {
            const QString code = o.value("code").toString();
            const auto found = rooms_.find(code);
            if (found == rooms_.end() || int(found->members.size()) >= found->seats) return;
            found->members.push_back(socket);
            roomOf_.insert(socket, code);
            socket->sendTextMessage(joined(code, *found, int(found->members.size())));
            beginIfFull(*found);
        }
    }

    void beginIfFull(RelayRoom& room) {
        if (room.begun || room.start.isEmpty() || int(room.members.size()) < room.seats) return;
        room.begun = true;
        for (QWebSocket* member : room.members) member->sendTextMessage(room.start);
    }

    void left(QWebSocket* socket) {
        socket->deleteLater();
        const QString code = roomOf_.take(socket);
        const auto found = rooms_.find(code);
        if (found == rooms_.end()) return;
        std::erase(found->members, socket);
        if (found->members.empty()) rooms_.erase(found);
    }

    QWebSocketServer& server_;
    QHash<QString, RelayRoom> rooms_;
    QHash<QWebSocket*, QString> roomOf_;
    int made_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
    for (int k = 1; k < argc; ++k)
        if (std::strcmp(argv[k], "--epoll") == 0)
            if (QAbstractEventDispatcher* epoll = capzel::network::makeEpollDispatcher())
                QCoreApplication::setEventDispatcher(epoll);
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOptions({{"port", "The port (0: any free one, printed).", "port", "0"},
                       {"epoll", "This project's epoll event loop instead of Qt's own."}});
    parser.process(app);
    QWebSocketServer server(QStringLiteral("capzel-relay"), QWebSocketServer::NonSecureMode);
    server.setMaxPendingConnections(1 << 20);
    if (!server.listen(QHostAddress::LocalHost, quint16(parser.value("port").toUInt()))) {
        std::fprintf(stderr, "capzel-relay: %s\n", qPrintable(server.errorString()));
        return 2;
    }
    Relay relay(server);
    std::printf("capzel-relay listening on ws://127.0.0.1:%u\n", unsigned(server.serverPort()));
    std::fflush(stdout);
    return app.exec();
}
