// The real capzel-server over WebSockets: a room played beside a hostile connection, aims relayed, a
// restart bringing the room back; the chat kept for latecomers; connections per address; a room finished.
#include <QTemporaryDir>

#include "support/OnlineServer.h"

using namespace capzel;
using namespace capzel::protocol;

using Player = capzel::test::OnlinePlayer;

class ServerTest : public QObject {
    Q_OBJECT

    QTemporaryDir data;
    test::ServerProcess server;
    quint16 port = 0;

    void startServer(const QStringList& more = {}) {
        QVERIFY(server.start(data.path(), QStringList{"--max-messages-per-second", "20"} + more));
        port = server.port;
    }
    void stopServer() { QVERIFY(server.stop()); }

private slots:
    void twoPlayersPlayAndAHostileClientChangesNothing() {
        startServer();
        test::RoomOfTwo room(port, false, "Ann", "Bob");
        Player &ann = *room.a, &bob = *room.b;
        Player eve(port);  // hostile, from another address
        eve.socket.sendTextMessage(QStringLiteral("{\"type\": \"hello\", "));
        const Refused broken = eve.next<Refused>();
        QCOMPARE(broken.code, RefusalCode::BadMessage);
        QVERIFY(broken.reason.find("not JSON") != std::string::npos);  // a person reads what was wrong
        eve.send(JoinRoom{room.code, std::nullopt, {}, {}, false});
        QCOMPARE(eve.refusedCode(), RefusalCode::BadMessage);  // hello first
        eve.hello("Eve");
        eve.send(JoinRoom{room.code, std::nullopt, {}, {}, false});
        QCOMPARE(eve.refusedCode(), RefusalCode::NoFreeSeat);  // the room's own refusals: tests/core
        eve.send(ann.game.shotAlong(0, 10));
        QCOMPARE(eve.refusedCode(), RefusalCode::NotInRoom);

        QVERIFY(room.play(3));
        {
            Player flood(port);  // refused at once, then closed; the room goes on
            for (int m = 0; m < 300; ++m) flood.send(Chat{"spam", 0});
            for (Refused r; r.code != RefusalCode::TooMany;) r = flood.next<Refused>();
            QTRY_COMPARE_WITH_TIMEOUT(flood.socket.state(), QAbstractSocket::UnconnectedState, 30000);
            eve.socket.sendTextMessage(QString(int(kMaxMessageBytes) + 1, 'x'));
            QTRY_COMPARE_WITH_TIMEOUT(eve.socket.state(), QAbstractSocket::UnconnectedState, 30000);
            QCOMPARE(eve.socket.closeCode(), QWebSocketProtocol::CloseCodeTooMuchData);
        }
        QVERIFY(room.play(3));
        // Aims pass on only from the seat on turn; a burst of 20 (a second's worth) without a word.
        {
            Player& onTurn = ann.game.game().currentTurn == 1 ? ann : bob;
            Player& other = &onTurn == &ann ? bob : ann;
            for (int m = 0; m < 20; ++m) other.send(Aim{0, 1, 2, 3, 4, 5, true});
            for (int m = 0; m < 20; ++m) onTurn.send(Aim{0, 1, 2, 3, 4, 5, true});
            onTurn.send(Chat{"done", 0});
            int aims = 0;
            for (Decoded d = Hello{}; !std::holds_alternative<Chat>(d);) {
                QTRY_VERIFY_WITH_TIMEOUT(!other.inbox.empty(), 30000);
                d = std::move(other.inbox.front());
                other.inbox.pop_front();
                if (const auto* a = std::get_if<Aim>(&d)) {
                    QCOMPARE(a->seat, int(onTurn.game.game().currentTurn));
                    ++aims;
                }
            }
            QCOMPARE(aims, 20);
            QVERIFY(onTurn.inbox.empty() || !std::holds_alternative<Refused>(onTurn.inbox.front()));
            QVERIFY(other.inbox.empty());
        }
        QCOMPARE(ann.game.game().hash(), bob.game.game().hash());
        QCOMPARE(ann.game.shots, 6);

        // Stopped and started again, the server brings the room back to Bob's token as it stood.
        stopServer();
        startServer();
        Player back(port);
        back.hello("Bob");
        back.send(JoinRoom{room.code, room.token, {}, {}, false});
        QCOMPARE(back.next<Joined>().mine, std::vector<int>{2});
        QVERIFY(back.game.take(back.next<State>()));
        QCOMPARE(back.game.shots, 6);
        QCOMPARE(back.game.game().hash(), bob.game.game().hash());
        stopServer();
    }

    // A room's last 200 chat lines, as said, for a late spectator and a player taking the seat back.
    void aLateSpectatorAndAReturningPlayerAreToldWhatWasSaid() {
        startServer({"--max-messages-per-second", "400"});
        test::RoomOfTwo room(port, false, "Ann", "Bob");
        Player &ann = *room.a, &bob = *room.b;
        const std::string& code = room.code;
        const std::string& token = room.token;
        for (int k = 0; k < 205; ++k) ann.send(Chat{"line " + std::to_string(k), 0});
        const auto heardAll = [](Player& p, const std::string& last) {
            return std::any_of(p.inbox.begin(), p.inbox.end(), [&](const Decoded& d) {
                return std::holds_alternative<Chat>(d) && std::get<Chat>(d).text == last;
            });
        };
        QTRY_VERIFY_WITH_TIMEOUT(heardAll(bob, "line 204"), 20000);
        bob.socket.close();
        Player eve(port), back(port);
        eve.hello("Eve");
        eve.send(JoinRoom{code, std::nullopt, {}, {}, true});
        back.hello("Bob");
        back.send(JoinRoom{code, token, {}, {}, false});
        QTRY_VERIFY_WITH_TIMEOUT(back.inbox.size() >= 2 && eve.inbox.size() >= 2, 20000);
        ann.send(Chat{"and now", 0});  // said after they came
        for (Player* p : {&eve, &back}) {
            QTRY_VERIFY_WITH_TIMEOUT(heardAll(*p, "and now"), 20000);
            std::vector<Chat> heard;
            for (const Decoded& d : p->inbox)
                if (const auto* c = std::get_if<Chat>(&d)) heard.push_back(*c);
            QCOMPARE(heard.size(), std::size_t(201));
            QCOMPARE(heard.front().text, std::string("line 5"));
            QCOMPARE(heard[199].text, std::string("line 204"));
            QCOMPARE(heard[199].seat, 1);
        }
        stopServer();
    }

    void oneAddressHoldsOnlySoManyConnectionsAndAFinishedRoomIsClosed() {
        startServer({"--max-connections-per-address", "2"});
        Player ann(port), spare(port);
        Player third(port, false);
        QCOMPARE(third.refusedCode(), RefusalCode::TooMany);
        QTRY_COMPARE_WITH_TIMEOUT(third.socket.state(), QAbstractSocket::UnconnectedState, 30000);
        spare.socket.close();
        QTRY_COMPARE_WITH_TIMEOUT(spare.socket.state(), QAbstractSocket::UnconnectedState, 30000);

        ann.hello("Ann");
        ann.send(CreateRoom{{PlayerKind::Human}, true, {}, {}});
        const std::string code = ann.next<Joined>().code;
        QVERIFY(ann.game.take(ann.next<State>()));
        const QString kept = data.path() + "/rooms/" + QString::fromStdString(code) + ".room.json";
        const QString finished = data.path() + "/rooms/finished/" + QString::fromStdString(code) + ".room.json";
        for (int k = 0; ann.game.game().gameRunning && k < 200; ++k) {
            ann.send(ann.game.shot(players::planShot(ann.game.game(), PlayerKind::Human, std::uint64_t(k)).shot));
            QVERIFY(ann.follow(ann.next<Accepted>()));
        }
        QVERIFY(!ann.game.game().gameRunning);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(kept), 30000);
        ann.socket.close();  // the room goes, its file where it is not brought back
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(finished) && !QFile::exists(kept), 30000);
        Player late(port);
        late.hello("Bob");
        late.send(JoinRoom{code, std::nullopt, {}, {}, false});
        QCOMPARE(late.refusedCode(), RefusalCode::NoSuchRoom);
        stopServer();
    }
};

QTEST_GUILESS_MAIN(ServerTest)
#include "tst_server.moc"
