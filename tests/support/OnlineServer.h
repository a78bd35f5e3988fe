// The real capzel-server on a free port, stopped with SIGTERM; and a player's program over ws or wss
// that follows the room's game to the bit.
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QWebSocket>

#include <csignal>
#include <deque>
#include <numbers>
#include <stdexcept>

#include "players/Planner.h"
#include "protocol/Messages.h"
#include "support/RoomFollower.h"

namespace capzel::test {

// A player's program: a socket, what came in, and the game it follows.
class OnlinePlayer {
public:
    explicit OnlinePlayer(const QUrl& url, bool awaitConnection = true) {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString& t) {
            inbox.push_back(protocol::decodeMessage(t.toStdString()));
            if (const auto* r = std::get_if<protocol::Refused>(&inbox.back())) refusals.push_back(*r);
            if (const auto* s = std::get_if<protocol::Seats>(&inbox.back())) seatsSeen.push_back(s->seats);
        });
        QObject::connect(&socket, &QWebSocket::sslErrors, [this](const QList<QSslError>&) { socket.ignoreSslErrors(); });
        socket.open(url);
        if (awaitConnection) QTRY_COMPARE_WITH_TIMEOUT(socket.state(), QAbstractSocket::ConnectedState, 20000);
    }
    OnlinePlayer(quint16 port, bool awaitConnection = true)
        : OnlinePlayer(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(port)), awaitConnection) {}

    void send(const protocol::Message& m) { socket.sendTextMessage(QString::fromStdString(protocol::encodeMessage(m))); }

    // The next message of kind T, passing over seats and chat lines.
    template <typename T>
    T next(int timeoutMs = 20000) {
        protocol::Decoded d = nextAnswer(timeoutMs);
        if (auto* m = std::get_if<T>(&d)) return std::move(*m);
        throw std::runtime_error("a message of kind " + std::to_string(d.index()) + " came instead of the one awaited");
    }
    protocol::Decoded nextAnswer(int timeoutMs = 20000) {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < timeoutMs) {
            while (!inbox.empty()) {
                protocol::Decoded d = std::move(inbox.front());
                inbox.pop_front();
                if (!std::holds_alternative<protocol::Seats>(d) && !std::holds_alternative<protocol::Chat>(d)) return d;
            }
            QTest::qWait(5);
        }
        throw std::runtime_error("no message came");
    }
    std::string hello(const char* name) {
        send(protocol::Hello{protocol::kProtocolVersion, "test", name});
        return next<protocol::Welcome>().serverVersion;
    }
    bool follow(const protocol::Accepted& a) {
        hashes.push_back(a.shot.inputs.outcome.hash);
        return game.follow(a);
    }
    RefusalCode refusedCode(int timeoutMs = 20000) { return next<protocol::Refused>(timeoutMs).code; }

    bool seatWas(int seat, protocol::SeatPresence presence) const {
        return std::any_of(seatsSeen.begin(), seatsSeen.end(), [&](const auto& seats) {
            return int(seats.size()) >= seat && seats[std::size_t(seat - 1)].presence == presence;
        });
    }

    QWebSocket socket;
    std::deque<protocol::Decoded> inbox;
    std::vector<protocol::Refused> refusals;  // every refusal received
    std::vector<std::vector<protocol::SeatStatus>> seatsSeen;  // every seats message received
    RoomFollower game;
    std::vector<std::uint64_t> hashes;
};

// A player who said hello: from ::1 when honest, else from 127.0.0.1.
inline std::unique_ptr<OnlinePlayer> greeted(const char* name, quint16 port, bool honest = false, bool tls = false) {
    auto p = honest ? std::make_unique<OnlinePlayer>(QUrl(QStringLiteral("%1://[::1]:%2").arg(tls ? "wss" : "ws").arg(port)))
                    : std::make_unique<OnlinePlayer>(port);
    p->hello(name);
    return p;
}
inline protocol::Decoded makeRoom(OnlinePlayer& p) {
    p.send(protocol::CreateRoom{{PlayerKind::Human, PlayerKind::Human}, true, {}, {}});
    return p.nextAnswer();
}

// Two players from ::1 in a room of their own, its game begun.
struct RoomOfTwo {
    std::unique_ptr<OnlinePlayer> a, b;
    std::string code, token;  // token: the second player's
    RoomOfTwo(quint16 port, bool tls, const char* first, const char* second)
        : a(greeted(first, port, true, tls)), b(greeted(second, port, true, tls)) {
        code = std::get<protocol::Joined>(makeRoom(*a)).code;
        b->send(protocol::JoinRoom{code, std::nullopt, {}, {}, false});
        token = b->next<protocol::Joined>().token;
        a->game.take(a->next<protocol::State>());
        b->game.take(b->next<protocol::State>());
    }
    // Shots, each followed by both players; false at a difference.
    bool play(int shots) {
        for (int k = 0; k < shots; ++k) {
            OnlinePlayer& shooter = a->game.game().currentTurn == 1 ? *a : *b;
            shooter.send(shooter.game.shotAlong(-std::numbers::pi / 2 + 0.4 * (k + int(a->hashes.size())), 9 + 5 * k));
            if (!a->follow(a->next<protocol::Accepted>()) || !b->follow(b->next<protocol::Accepted>())) return false;
        }
        return a->hashes == b->hashes;
    }
};

class ServerProcess {
public:
    bool start(const QString& dataDir, const QStringList& more = {}) {
        process.setProgram(QStringLiteral(CAPZEL_BIN_DIR "/capzel-server"));
        process.setArguments(QStringList{"--port", "0", "--data-dir", dataDir} + more);
        if (!captureErrors) process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start();
        if (!process.waitForReadyRead(20000)) return false;
        const QString line = QString::fromUtf8(process.readLine());
        port = quint16(line.section(':', 2).section(' ', 0, 0).toUInt());
        return line.contains(QStringLiteral("listening on")) && port > 0;
    }
    bool stop() {
        ::kill(pid_t(process.processId()), SIGTERM);
        return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }
    ~ServerProcess() {
        if (process.state() == QProcess::NotRunning) return;
        process.kill();
        process.waitForFinished(5000);
    }

    QProcess process;
    bool captureErrors = false;  // the server's error output is read by the test, not shown
    quint16 port = 0;
};

}  // namespace capzel::test
