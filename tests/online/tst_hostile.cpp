// Hostile clients against the real capzel-server from 127.0.0.1, one row a fault, while two honest
// rooms play from ::1 on, unrefused and the same to the bit. Times are shortened by options, never timed.
#include <QDir>
#include <QTemporaryDir>

#include <signal.h>

#include "support/OnlineServer.h"
#include "support/RawWebSocket.h"

using namespace capzel;
using namespace capzel::protocol;
using capzel::test::OnlinePlayer;
using HonestRoom = capzel::test::RoomOfTwo;
using capzel::test::greeted;
using capzel::test::makeRoom;
using capzel::test::RawWebSocket;

namespace {

enum class Attack { SilentTls, LongAims, AimRate, Squat, WrongCodes, Vanished, NeverReads, Stranger, Spoofing, Unkept, StaleFiles };

std::unique_ptr<OnlinePlayer> watching(const std::string& code, quint16 port) {
    auto p = greeted("Eve", port);
    p->send(JoinRoom{code, std::nullopt, {}, {}, true});
    p->next<Joined>();
    return p;
}
// A connection by hand that says hello and asks to join, and reads nothing more.
bool rawJoin(RawWebSocket& s, quint16 port, const std::string& code, bool watch, int receiveBuffer = 0) {
    return s.connectTo(port, receiveBuffer) && s.upgrade() && s.sendText(encodeMessage(Hello{kProtocolVersion, "test", "Vic"})) &&
           s.readText().has_value() && s.sendText(encodeMessage(JoinRoom{code, std::nullopt, {}, {}, watch}));
}

long refusedWith(const std::vector<Refused>& refusals, RefusalCode code) {
    return std::count_if(refusals.begin(), refusals.end(), [code](const Refused& r) { return r.code == code; });
}

pid_t deadProcess() {
    for (pid_t pid = 4000000; pid > 1000; --pid)
        if (::kill(pid, 0) != 0 && errno == ESRCH) return pid;
    return 0;
}

}  // namespace

Q_DECLARE_METATYPE(Attack)

class HostileTest : public QObject {
    Q_OBJECT

    QTemporaryDir work;
    QString cert, key, otherKey;

    bool makeKey(const QString& keyPath, const QString& certPath) {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"), {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", keyPath, "-days",
                                                  "2", "-subj", "/CN=localhost", "-out", certPath});
        return openssl.waitForFinished(60000) && openssl.exitCode() == 0;
    }

private slots:
    void initTestCase() {
        QVERIFY(work.isValid());
        cert = work.filePath("cert.pem"), key = work.filePath("key.pem"), otherKey = work.filePath("other-key.pem");
        if (!makeKey(key, cert) || !makeKey(otherKey, work.filePath("other-cert.pem"))) QSKIP("openssl cannot make a certificate");
    }

    void attack_data() {
        QTest::addColumn<Attack>("attack");
        QTest::addColumn<QStringList>("options");
        const auto row = [](const char* name, Attack a, const QStringList& options = {}) { QTest::newRow(name) << a << options; };
        row("silent TLS connections lock nobody out", Attack::SilentTls, {"--tls-cert", cert, "--tls-key", key, "--handshake-seconds", "10", "--max-connections-per-address", "100"});
        row("aims of 15 KiB are refused and close the connection", Attack::LongAims);
        row("aims past their rate count and close the connection", Attack::AimRate);
        row("one address makes only a few rooms, and a room left before its game goes", Attack::Squat, {"--max-rooms", "12", "--empty-room-seconds", "1"});
        row("codes naming no room are rationed per address", Attack::WrongCodes);
        row("a vanished player's seat shows as dropped", Attack::Vanished, {"--ping-seconds", "1", "--silent-seconds", "6"});
        row("a spectator that never reads is cut", Attack::NeverReads, {"--max-messages-per-second", "2000", "--max-unsent-kib", "64"});
        row("a stranger taking the host's released seat is no host", Attack::Stranger, {"--seat-hold-seconds", "0.5"});
        row("separators and direction controls are refused in chat and names", Attack::Spoofing);
        row("a room that cannot be kept is told so, and the output says it once", Attack::Unkept);
        row("a killed server's temporary files go at the next start", Attack::StaleFiles);
    }

    void attack() {
        QFETCH(Attack, attack);
        QFETCH(QStringList, options);
        QTemporaryDir data;
        const pid_t dead = deadProcess();
        const QString stale = data.filePath("rooms/ZZZZZZ.room.json.capzel-%1-0").arg(dead);
        const QString live = data.filePath("rooms/YYYYYY.room.json.capzel-%1-0").arg(QCoreApplication::applicationPid());
        if (attack == Attack::StaleFiles) {
            QVERIFY(QDir().mkpath(data.filePath("rooms/finished")));
            for (const QString& path : {stale, live, data.filePath("rooms/finished/ZZZZZZ.room.json.capzel-%1-3").arg(dead)}) {
                QFile f(path);
                QVERIFY(f.open(QIODevice::WriteOnly) && f.write("{\"format\":") > 0);
            }
        }
        test::ServerProcess server;
        server.captureErrors = attack == Attack::Unkept;
        QVERIFY(server.start(data.path(), options));
        const quint16 port = server.port;
        const bool tls = attack == Attack::SilentTls;
        std::vector<std::unique_ptr<RawWebSocket>> silent;
        for (int k = 0; tls && k < 40; ++k) {
            silent.push_back(std::make_unique<RawWebSocket>());
            QVERIFY(silent.back()->connectTo(port));
        }
        HonestRoom first(port, tls, "Ann", "Bob");
        HonestRoom second(port, tls, "Cy", "Dee");
        QVERIFY(first.play(2));
        QVERIFY(second.play(2));

        switch (attack) {
        case Attack::SilentTls:
            // The honest players got in while each silent one waited; each is cut at its handshake time.
            for (const auto& s : silent) QVERIFY(!s->closedByPeer());
            for (const auto& s : silent) QTRY_VERIFY_WITH_TIMEOUT(s->closedByPeer(), 60000);
            break;
        case Attack::LongAims: {
            const QString big = QStringLiteral("{\"type\":\"aim\",\"protocol\":1,\"seat\":0,\"aim\":[1,2,3,4],\"power\":5,"
                                               "\"charging\":true,\"pad\":\"%1\"}").arg(QString(15 * 1024, 'x'));
            std::unique_ptr<OnlinePlayer> flood[] = {watching(first.code, port), watching(first.code, port), watching(first.code, port)};
            for (auto& f : flood)
                for (int m = 0; m < 150; ++m) f->socket.sendTextMessage(big);
            for (auto& f : flood) {
                QTRY_COMPARE_WITH_TIMEOUT(f->socket.state(), QAbstractSocket::UnconnectedState, 60000);
                QVERIFY(refusedWith(f->refusals, RefusalCode::BadMessage) >= 1);
            }
            break;
        }
        case Attack::AimRate: {
            const auto eve = watching(first.code, port);
            for (int m = 0; m < 300; ++m) eve->send(Aim{0, 1, 2, 3, 4, 5, true});
            QTRY_COMPARE_WITH_TIMEOUT(eve->socket.state(), QAbstractSocket::UnconnectedState, 60000);
            QCOMPARE(eve->socket.closeReason(), QStringLiteral("Too many messages."));
            QVERIFY(eve->refusals.empty());  // dropped without a word
            break;
        }
        case Attack::Squat: {
            const auto watcher = greeted("Wat", port, true);
            std::vector<Refused> refusals;
            for (int k = 0; k < 15; ++k) {
                const auto squatter = greeted("Sam", port);
                const Decoded d = makeRoom(*squatter);
                if (const auto* r = std::get_if<Refused>(&d)) refusals.push_back(*r);
                if (const auto* j = std::get_if<Joined>(&d); j && k == 0) {
                    watcher->send(JoinRoom{j->code, std::nullopt, {}, {}, true});
                    watcher->next<Joined>();
                }
                squatter->socket.close();
                QTRY_COMPARE_WITH_TIMEOUT(squatter->socket.state(), QAbstractSocket::UnconnectedState, 20000);
            }
            QVERIFY(!refusals.empty());
            QCOMPARE(refusedWith(refusals, RefusalCode::TooMany), long(refusals.size()));
            // Another address makes a room; the one its maker left closes.
            QVERIFY(std::holds_alternative<Joined>(makeRoom(*greeted("Hal", port, true))));
            QTRY_COMPARE_WITH_TIMEOUT(refusedWith(watcher->refusals, RefusalCode::RoomClosed), 1L, 30000);
            break;
        }
        case Attack::WrongCodes: {
            const auto guesser = greeted("Gus", port);
            // Within the connection's own rate: ten wrong codes, then two more.
            for (int k = 0; k < 12; ++k) {
                guesser->send(JoinRoom{"ZZZ" + std::to_string(222 + k % 7), std::nullopt, {}, {}, false});
                QTRY_COMPARE_WITH_TIMEOUT(guesser->refusals.size(), std::size_t(k + 1), 20000);
            }
            QCOMPARE(refusedWith(guesser->refusals, RefusalCode::NoSuchRoom), 10L);
            QCOMPARE(refusedWith(guesser->refusals, RefusalCode::TooMany), 2L);
            // Rationed, even the right code is not looked at.
            guesser->inbox.clear();
            guesser->send(JoinRoom{first.code, std::nullopt, {}, {}, true});
            QCOMPARE(guesser->refusedCode(), RefusalCode::TooMany);
            break;
        }
        case Attack::Vanished: {
            const auto ann = greeted("Ann", port, true);
            RawWebSocket vic;
            QVERIFY(rawJoin(vic, port, std::get<Joined>(makeRoom(*ann)).code, false));
            QVERIFY(vic.readText().has_value());  // joined; then Vic reads nothing and answers no ping
            QTRY_VERIFY_WITH_TIMEOUT(ann->seatWas(2, SeatPresence::Waiting), 60000);
            ann->send(HandToComputer{2});
            QTRY_VERIFY_WITH_TIMEOUT(ann->seatWas(2, SeatPresence::Computer), 20000);
            QVERIFY(ann->refusals.empty());
            break;
        }
        case Attack::NeverReads: {
            RawWebSocket reader;
            QVERIFY(rawJoin(reader, port, first.code, true, 4096));
            const std::string request = encodeMessage(StateRequest{});
            for (int m = 0; m < 400 && !reader.closedByPeer(); ++m) QVERIFY(reader.sendText(request) || reader.closedByPeer());
            QTRY_VERIFY_WITH_TIMEOUT(reader.closedByPeer(), 60000);
            break;
        }
        case Attack::Stranger: {
            HonestRoom target(port, false, "Hank", "Ida");
            target.a->socket.close();  // the host goes, and its hold runs out
            QTRY_VERIFY_WITH_TIMEOUT(target.b->seatWas(1, SeatPresence::Computer), 30000);
            const auto eve = greeted("Eve", port);
            eve->send(JoinRoom{target.code, std::nullopt, {}, {}, false});
            const Joined in = eve->next<Joined>();
            eve->next<State>();
            QCOMPARE(in.mine, std::vector<int>{1});
            QVERIFY(!in.host && !in.seats[0].host);
            target.b->socket.close();
            QTRY_VERIFY_WITH_TIMEOUT(eve->seatWas(2, SeatPresence::Waiting), 30000);
            eve->send(HandToComputer{2});
            QCOMPARE(eve->refusedCode(), RefusalCode::NotHost);
            break;
        }
        case Attack::Spoofing: {
            OnlinePlayer eve(port);
            eve.send(Hello{kProtocolVersion, "test", "\u202enaB"});
            QVERIFY(eve.next<Refused>().reason.find("/name: holds a control character") != std::string::npos);
            eve.hello("Eve");
            eve.send(JoinRoom{first.code, std::nullopt, {}, {}, true});
            eve.next<Joined>();
            eve.next<State>();
            for (const char* line : {"hello\u2028Bob: I resign, you win", "gg\u2029Ann: I resign", "ok\u2066Bob\u2069"}) {
                eve.send(Chat{line, 0});
                QVERIFY(eve.next<Refused>().reason.find("/text: holds a control character") != std::string::npos);
            }
            eve.send(Chat{"fair and square", 0});
            QTRY_VERIFY_WITH_TIMEOUT(std::any_of(first.a->inbox.begin(), first.a->inbox.end(),
                                                 [](const Decoded& d) { return std::holds_alternative<Chat>(d); }), 20000);
            for (const Decoded& d : first.a->inbox)
                if (const auto* c = std::get_if<Chat>(&d)) QCOMPARE(c->text, std::string("fair and square"));
            break;
        }
        case Attack::Unkept: {
            QVERIFY(QDir(data.path()).rename("rooms", "rooms-gone"));
            QFile blocker(data.filePath("rooms"));  // a file where the rooms' folder was
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            std::vector<std::unique_ptr<OnlinePlayer>> makers;
            for (int k = 0; k < 4; ++k) {
                makers.push_back(greeted("May", port, true));
                QVERIFY(std::holds_alternative<Joined>(makeRoom(*makers.back())));
                QTRY_COMPARE_WITH_TIMEOUT(refusedWith(makers.back()->refusals, RefusalCode::RoomNotKept), 1L, 20000);
            }
            QByteArray said;  // each failure printed before its room is told: one line for all four
            QTRY_VERIFY_WITH_TIMEOUT((said += server.process.readAllStandardError()).contains("capzel-server: "), 20000);
            QCOMPARE(said.count("capzel-server: "), 1);
            break;
        }
        case Attack::StaleFiles:
            QVERIFY(!QFile::exists(stale));
            QVERIFY(!QFile::exists(data.filePath("rooms/finished/ZZZZZZ.room.json.capzel-%1-3").arg(dead)));
            QVERIFY(QFile::exists(live));  // a program still running may be writing it
            break;
        }

        QVERIFY(first.play(3));
        QVERIFY(second.play(3));
        for (const HonestRoom* room : {&first, &second})
            for (const OnlinePlayer* p : {room->a.get(), room->b.get()})
                QVERIFY2(p->refusals.empty(), p->refusals.empty() ? "" : p->refusals.front().reason.c_str());
        QVERIFY(server.stop());
    }

    void aKeyThatDoesNotGoWithItsCertificateIsRefused() {
        QTemporaryDir data;
        QProcess server;
        server.start(QStringLiteral(CAPZEL_BIN_DIR "/capzel-server"),
                     {"--port", "0", "--data-dir", data.path(), "--tls-cert", cert, "--tls-key", otherKey});
        QVERIFY(server.waitForFinished(60000));
        QCOMPARE(server.exitCode(), 2);
        const QString said = QString::fromUtf8(server.readAllStandardError());
        QVERIFY2(said.contains("does not go with the certificate"), qPrintable(said));
    }
};

QTEST_GUILESS_MAIN(HostileTest)
#include "tst_hostile.moc"
