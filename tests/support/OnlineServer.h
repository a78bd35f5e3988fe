// The real capzel-server for the online tests: started on a free port with
// the options a test gives, stopped with SIGTERM; and a player's program
// over a WebSocket (ws or wss) that follows the room's game to the bit.
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QWebSocket>

#include <csignal>
#include <deque>
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
        // A server's certificate of its own making.
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
    // The next message that is neither seats nor a chat line.
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
    // Follows an accepted shot; false when it differs here.
    bool follow(const protocol::Accepted& a) {
        hashes.push_back(a.shot.inputs.outcome.hash);
        return game.follow(a);
    }
    // The refusal of the next message refused, by its code.
    RefusalCode refusedCode(int timeoutMs = 20000) { return next<protocol::Refused>(timeoutMs).code; }

    // Whether any seats message received so far showed the seat so.
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

class ServerProcess {
public:
    // Starts the server; false when it did not say it listens.
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
    // SIGTERM: true when the server stopped with status 0.
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
