// Hostile clients against the real capzel-server, one row a fault: each
// attack comes from 127.0.0.1 while two honest rooms play from ::1, and
// every row asserts what the server tells (a refusal, a connection closed,
// a seat shown as dropped), then that the honest rooms played on with no
// refusal and every shot the same to the bit. The server's times are
// shortened by its options, never waited out in full; nothing here is timed.
#include <QDir>
#include <QTemporaryDir>

#include <numbers>
#include <signal.h>

#include "support/OnlineServer.h"
#include "support/RawWebSocket.h"

using namespace capzel;
using namespace capzel::protocol;
using capzel::test::OnlinePlayer;
using capzel::test::RawWebSocket;

namespace {

enum class Attack {
    SilentTls, LongAims, AimRate, Squat, WrongCodes, Vanished, NeverReads, Stranger, Spoofing, Unkept, StaleFiles
};

QUrl honestUrl(quint16 port, bool tls) { return QUrl(QStringLiteral("%1://[::1]:%2").arg(tls ? "wss" : "ws").arg(port)); }

// Two players of a room of their own, its game begun.
struct HonestRoom {
    std::unique_ptr<OnlinePlayer> a, b;
    std::string code;
    HonestRoom(const QUrl& url, const char* first, const char* second)
        : a(std::make_unique<OnlinePlayer>(url)), b(std::make_unique<OnlinePlayer>(url)) {
        a->hello(first);
        b->hello(second);
        a->send(CreateRoom{{PlayerKind::Human, PlayerKind::Human}, true, {}, {}});
        code = a->next<Joined>().code;
        b->send(JoinRoom{code, std::nullopt, {}, {}, false});
        b->next<Joined>();
        a->game.take(a->next<State>());
        b->game.take(b->next<State>());
    }
    // Shots, each followed by both players; false at a difference.
    bool play(int shots) {
        for (int k = 0; k < shots; ++k) {
            OnlinePlayer& shooter = a->game.game().currentTurn == 1 ? *a : *b;
            shooter.send(shooter.aimedShot(-std::numbers::pi / 2 + 0.4 * (k + int(a->hashes.size())), 9 + 5 * k));
            if (!a->follow(a->next<Accepted>()) || !b->follow(b->next<Accepted>())) return false;
        }
        return a->hashes == b->hashes;
    }
};

// How many of the refusals came with the code.
long refusedWith(const std::vector<Refused>& refusals, RefusalCode code) {
    return std::count_if(refusals.begin(), refusals.end(), [code](const Refused& r) { return r.code == code; });
}

// A process number nobody has now.
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
        QStringList args{"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", keyPath, "-days", "2",
                         "-subj", "/CN=localhost", "-out", certPath};
        openssl.start(QStringLiteral("openssl"), args);
        return openssl.waitForFinished(60000) && openssl.exitCode() == 0;
    }

private slots:
    void initTestCase() {
        QVERIFY(work.isValid());
        cert = work.filePath("cert.pem");
        key = work.filePath("key.pem");
        otherKey = work.filePath("other-key.pem");
        if (!makeKey(key, cert) || !makeKey(otherKey, work.filePath("other-cert.pem"))) QSKIP("openssl cannot make a certificate");
    }

    void attack_data() {
        QTest::addColumn<Attack>("attack");
        QTest::addColumn<QStringList>("options");
        const QStringList tls{"--tls-cert", cert, "--tls-key", key};
        QTest::newRow("silent TLS connections lock nobody out")
            << Attack::SilentTls << tls + QStringList{"--handshake-seconds", "10", "--max-connections-per-address", "100"};
        QTest::newRow("aims of 15 KiB are refused and close the connection") << Attack::LongAims << QStringList{};
        QTest::newRow("aims past their rate count and close the connection") << Attack::AimRate << QStringList{};
        QTest::newRow("one address makes only a few rooms, and a room left before its game goes")
            << Attack::Squat << QStringList{"--max-rooms", "12", "--empty-room-seconds", "1"};
        QTest::newRow("codes naming no room are rationed per address") << Attack::WrongCodes << QStringList{};
        QTest::newRow("a vanished player's seat shows as dropped")
            << Attack::Vanished << QStringList{"--ping-seconds", "1", "--silent-seconds", "6"};
        QTest::newRow("a spectator that never reads is cut")
            << Attack::NeverReads << QStringList{"--max-messages-per-second", "2000", "--max-unsent-kib", "64"};
        QTest::newRow("a stranger taking the host's released seat is no host")
            << Attack::Stranger << QStringList{"--seat-hold-seconds", "0.5"};
        QTest::newRow("separators and direction controls are refused in chat and names") << Attack::Spoofing << QStringList{};
        QTest::newRow("a room that cannot be kept is told so, and the output says it once")
            << Attack::Unkept << QStringList{};
        QTest::newRow("a killed server's temporary files go at the next start") << Attack::StaleFiles << QStringList{};
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
        if (tls) {
            for (int k = 0; k < 40; ++k) {
                silent.push_back(std::make_unique<RawWebSocket>());
                QVERIFY(silent.back()->connectTo(port));
            }
        }
        HonestRoom first(honestUrl(port, tls), "Ann", "Bob");
        HonestRoom second(honestUrl(port, tls), "Cy", "Dee");
        QVERIFY(first.play(2));
        QVERIFY(second.play(2));

        switch (attack) {
        case Attack::SilentTls:
            // The honest players got in while every silent connection was
            // still waiting; each is cut once its handshake time is out.
            for (const auto& s : silent) QVERIFY(!s->closedByPeer());
            for (const auto& s : silent) QTRY_VERIFY_WITH_TIMEOUT(s->closedByPeer(), 60000);
            break;
        case Attack::LongAims: {
            std::vector<std::unique_ptr<OnlinePlayer>> flood;
            for (int k = 0; k < 3; ++k) {
                flood.push_back(std::make_unique<OnlinePlayer>(port));
                flood.back()->hello("Eve");
                flood.back()->send(JoinRoom{first.code, std::nullopt, {}, {}, true});
                flood.back()->next<Joined>();
            }
            const QString big = QStringLiteral("{\"type\":\"aim\",\"protocol\":1,\"seat\":0,\"aim\":[1,2,3,4],\"power\":5,"
                                               "\"charging\":true,\"pad\":\"%1\"}").arg(QString(15 * 1024, 'x'));
            for (auto& f : flood)
                for (int m = 0; m < 150; ++m) f->socket.sendTextMessage(big);
            for (auto& f : flood) {
                QTRY_COMPARE_WITH_TIMEOUT(f->socket.state(), QAbstractSocket::UnconnectedState, 60000);
                QVERIFY(refusedWith(f->refusals, RefusalCode::BadMessage) >= 1);
            }
            break;
        }
        case Attack::AimRate: {
            OnlinePlayer eve(port);
            eve.hello("Eve");
            eve.send(JoinRoom{first.code, std::nullopt, {}, {}, true});
            eve.next<Joined>();
            for (int m = 0; m < 300; ++m) eve.send(Aim{0, 1, 2, 3, 4, 5, true});
            // Dropped without a word, and counted all the same.
            QTRY_COMPARE_WITH_TIMEOUT(eve.socket.state(), QAbstractSocket::UnconnectedState, 60000);
            QCOMPARE(eve.socket.closeReason(), QStringLiteral("Too many messages."));
            QVERIFY(eve.refusals.empty());
            break;
        }
        case Attack::Squat: {
            OnlinePlayer watcher(honestUrl(port, false));
            watcher.hello("Wat");
            std::vector<Refused> refusals;
            std::string watched;
            for (int k = 0; k < 15; ++k) {
                OnlinePlayer squatter(port);
                squatter.hello("Sam");
                squatter.send(CreateRoom{{PlayerKind::Human, PlayerKind::Human}, true, {}, {}});
                const Decoded d = squatter.nextAnswer();
                if (const auto* r = std::get_if<Refused>(&d)) refusals.push_back(*r);
                if (const auto* j = std::get_if<Joined>(&d); j && watched.empty()) {
                    watched = j->code;
                    watcher.send(JoinRoom{watched, std::nullopt, {}, {}, true});
                    watcher.next<Joined>();
                }
                squatter.socket.close();
                QTRY_COMPARE_WITH_TIMEOUT(squatter.socket.state(), QAbstractSocket::UnconnectedState, 20000);
            }
            QVERIFY(!refusals.empty());
            QCOMPARE(refusedWith(refusals, RefusalCode::TooMany), long(refusals.size()));
            // Another address makes a room; the one its maker left closes.
            OnlinePlayer honest(honestUrl(port, false));
            honest.hello("Hal");
            honest.send(CreateRoom{{PlayerKind::Human, PlayerKind::Human}, true, {}, {}});
            QVERIFY(std::holds_alternative<Joined>(honest.nextAnswer()));
            QTRY_COMPARE_WITH_TIMEOUT(refusedWith(watcher.refusals, RefusalCode::RoomClosed), 1L, 30000);
            break;
        }
        case Attack::WrongCodes: {
            OnlinePlayer guesser(port);
            guesser.hello("Gus");
            // Within the connection's own rate: ten wrong codes, then two more.
            for (int k = 0; k < 12; ++k) {
                guesser.send(JoinRoom{"ZZZ" + std::to_string(222 + k % 7) , std::nullopt, {}, {}, false});
                QTRY_COMPARE_WITH_TIMEOUT(guesser.refusals.size(), std::size_t(k + 1), 20000);
            }
            QCOMPARE(refusedWith(guesser.refusals, RefusalCode::NoSuchRoom), 10L);
            QCOMPARE(refusedWith(guesser.refusals, RefusalCode::TooMany), 2L);
            // Rationed, even the right code is not looked at.
            guesser.inbox.clear();
            guesser.send(JoinRoom{first.code, std::nullopt, {}, {}, true});
            QCOMPARE(guesser.refusedCode(), RefusalCode::TooMany);
            break;
        }
        case Attack::Vanished: {
            OnlinePlayer ann(honestUrl(port, false));
            ann.hello("Ann");
            ann.send(CreateRoom{{PlayerKind::Human, PlayerKind::Human}, true, {}, {}});
            const std::string code = ann.next<Joined>().code;
            RawWebSocket vic;
            QVERIFY(vic.connectTo(port) && vic.upgrade());
            QVERIFY(vic.sendText(encodeMessage(Hello{kProtocolVersion, "test", "Vic"})));
            QVERIFY(vic.readText().has_value());  // welcome
            QVERIFY(vic.sendText(encodeMessage(JoinRoom{code, std::nullopt, {}, {}, false})));
            QVERIFY(vic.readText().has_value());  // joined
            // Vic says and reads nothing more, and answers no ping.
            QTRY_VERIFY_WITH_TIMEOUT(ann.seatWas(2, SeatPresence::Waiting), 60000);
            ann.send(HandToComputer{2});
            QTRY_VERIFY_WITH_TIMEOUT(ann.seatWas(2, SeatPresence::Computer), 20000);
            QVERIFY(ann.refusals.empty());
            break;
        }
        case Attack::NeverReads: {
            RawWebSocket reader;
            QVERIFY(reader.connectTo(port, 4096) && reader.upgrade());
            QVERIFY(reader.sendText(encodeMessage(Hello{kProtocolVersion, "test", "Rex"})));
            QVERIFY(reader.readText().has_value());
            QVERIFY(reader.sendText(encodeMessage(JoinRoom{first.code, std::nullopt, {}, {}, true})));
            const std::string request = encodeMessage(StateRequest{});
            for (int m = 0; m < 400 && !reader.closedByPeer(); ++m) QVERIFY(reader.sendText(request) || reader.closedByPeer());
            QTRY_VERIFY_WITH_TIMEOUT(reader.closedByPeer(), 60000);
            break;
        }
        case Attack::Stranger: {
            HonestRoom target(honestUrl(port, false), "Hank", "Ida");
            target.a->socket.close();  // the host goes, and its hold runs out
            QTRY_VERIFY_WITH_TIMEOUT(target.b->seatWas(1, SeatPresence::Computer), 30000);
            OnlinePlayer eve(port);
            eve.hello("Eve");
            eve.send(JoinRoom{target.code, std::nullopt, {}, {}, false});
            const Joined in = eve.next<Joined>();
            eve.next<State>();
            QCOMPARE(in.mine, std::vector<int>{1});
            QVERIFY(!in.host);
            QVERIFY(!in.seats[0].host);
            target.b->socket.close();
            QTRY_VERIFY_WITH_TIMEOUT(eve.seatWas(2, SeatPresence::Waiting), 30000);
            eve.send(HandToComputer{2});
            QCOMPARE(eve.refusedCode(), RefusalCode::NotHost);
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
            QTRY_VERIFY_WITH_TIMEOUT(std::any_of(first.a->inbox.begin(), first.a->inbox.end(), [](const Decoded& d) {
                return std::holds_alternative<Chat>(d);
            }), 20000);
            for (const Decoded& d : first.a->inbox)
                if (const auto* c = std::get_if<Chat>(&d)) QCOMPARE(c->text, std::string("fair and square"));
            break;
        }
        case Attack::Unkept: {
            // The rooms' folder is taken away, a file in its place.
            QVERIFY(QDir(data.path()).rename("rooms", "rooms-gone"));
            QFile blocker(data.filePath("rooms"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            std::vector<std::unique_ptr<OnlinePlayer>> makers;
            for (int k = 0; k < 4; ++k) {
                makers.push_back(std::make_unique<OnlinePlayer>(honestUrl(port, false)));
                OnlinePlayer& maker = *makers.back();
                maker.hello("May");
                maker.send(CreateRoom{{PlayerKind::Human, PlayerKind::Human}, true, {}, {}});
                maker.next<Joined>();
                QTRY_COMPARE_WITH_TIMEOUT(refusedWith(maker.refusals, RefusalCode::RoomNotKept), 1L, 20000);
            }
            // Each failure is printed before its room is told: one line for all four.
            QByteArray said;
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

        // The honest rooms played on: no refusal, every shot the same.
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
        server.start(test::ServerProcess::program(),
                     {"--port", "0", "--data-dir", data.path(), "--tls-cert", cert, "--tls-key", otherKey});
        QVERIFY(server.waitForFinished(60000));
        QCOMPARE(server.exitCode(), 2);
        const QString said = QString::fromUtf8(server.readAllStandardError());
        QVERIFY2(said.contains("does not go with the certificate"), qPrintable(said));
    }
};

QTEST_GUILESS_MAIN(HostileTest)
#include "tst_hostile.moc"
