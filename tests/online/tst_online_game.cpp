// The online game as the game's own code plays it, with no window: a
// server in this process, two players' programs over loopback and a
// spectator, each an OnlineGame on a game session of its own. Each
// player's shots are played with the mouse and the power bar as a person
// plays them; the other programs show them from the server's inputs,
// paced, and every program's hash after every shot is the server's.
#include <QSignalSpy>
#include <QTest>
#include <QWebSocket>
#include <QWebSocketServer>

#include "controls/Aiming.h"
#include "network/GameClient.h"
#include "network/ServerHost.h"
#include "platform/SilentPlatform.h"
#include "session/OnlineGame.h"

using namespace capzel;

namespace {

// A board's clock that moves on at every look, so paced runs get on.
class TickingPlatform final : public SilentPlatform {
public:
    double clock() override { return now += 0.004; }
    double now = 0;
};

struct Program : OnlineOutbox {
    TickingPlatform ui;
    GameSession session;
    network::GameClient client;
    OnlineGame online{session, *this};
    int aimsSent = 0;
    std::vector<std::uint64_t> hashes;  // after each shot judged here
    std::vector<std::uint64_t> served;  // the server's, of every accepted shot
    int aimsSeen = 0;
    std::vector<std::string> said;  // the banner's lines

    void send(const protocol::Message& m) override {
        aimsSent += std::holds_alternative<protocol::Aim>(m);
        client.send(m);
    }
    explicit Program(quint16 port, const char* name) {
        session.openBoard(ui);
        using C = network::GameClient;
        QObject::connect(&client, &C::joined, [this](const auto& j) { online.onJoined(j); });
        QObject::connect(&client, &C::seatsChanged, [this](const auto& s) { online.onSeats(s); });
        QObject::connect(&client, &C::stateReceived, [this](const auto& s) { online.onState(s); });
        QObject::connect(&client, &C::accepted, [this](const auto& a) { served.push_back(a.shot.inputs.outcome.hash), online.onAccepted(a); });
        QObject::connect(&client, &C::aimed, [this](const auto& a) { ++aimsSeen, online.onAim(a); });
        QObject::connect(&client, &C::refused, [this](const auto& r) { online.onRefused(r); });
        client.connectTo(QUrl(QStringLiteral("ws://127.0.0.1:%1/?room=x").arg(port)), name, "test");
        QTRY_VERIFY_WITH_TIMEOUT(client.isWelcomed(), 30000);
    }

    // One step between two events: the online game looks, the run under
    // way advances, the rules' messages are told.
    void step() {
        const OnlineNews news = online.poll(ui.clock());
        if (!news.said.empty()) said.push_back(news.said);
        TurnController& turn = session.turn();
        RemoteShotTurn* remote = session.remoteShot();
        if (remote && remote->running())
            remote->advance();
        else if (turn.running())
            turn.advance();
        if (turn.hasAnnouncements()) turn.takeAnnouncements();
        const int judged = turn.judgedShots();
        if (judged > int(hashes.size())) hashes.push_back(session.game().hash());
        session.advanced();
    }

    bool myTurn() const {
        const Game& g = session.game();
        return g.gameRunning && online.seatIsMine(g.currentTurn) && !session.turn().running() &&
               session.turn().phase() != TurnPhase::Judging;
    }
    // A person's shot: drags the aim out from the piece, lets go, and
    // presses "Go" when the bar reaches `level`.
    void shoot(float dx, float dy, int level) {
        TurnController& turn = session.turn();
        const Box& piece = session.game().piece(session.game().currentTurn);
        const float cx = piece.left + piece.width / 2, cy = piece.top + piece.height / 2;
        for (int k = 1; k <= 10; ++k) {
            turn.mouseMove(kLeftButton, 0, cx + dx * float(k) / 10, cy + dy * float(k) / 10);
            online.poll(ui.clock());
            QCoreApplication::processEvents();
        }
        turn.mouseUp();
        while (turn.charging()) {
            turn.advance();
            if (turn.controls().barLevel <= level) turn.goClicked();
            online.poll(ui.clock());
        }
    }
};

}  // namespace

class OnlineGameTest : public QObject {
    Q_OBJECT

private slots:
    void twoProgramsAndASpectatorPlayTheServersGameToTheBit() {
        network::ServerOptions options;
        options.planner = {.threads = 1, .directions = 8, .strengths = 4, .refineSeeds = 1};
        // The players' clocks here run far faster than the real one: their
        // aims, a few a clock's second, come many a real second.
        options.limits.aimsPerSecond = 1000000;
        network::ServerHost server(options);
        QString error;
        QVERIFY2(server.start(&error), qPrintable(error));

        Program ann(server.port(), "Ann"), bob(server.port(), "Bob"), eve(server.port(), "Eve");
        // Ann makes the room with a computer in seat 3; Bob takes seat 2.
        ann.client.createRoom(protocol::CreateRoom{
            {PlayerKind::Human, PlayerKind::Human, PlayerKind::Novice}, true, {"Ann", "", ""}, {1}});
        QTRY_VERIFY_WITH_TIMEOUT(ann.online.hasJoined(), 30000);
        QVERIFY(ann.online.isHost());
        bob.client.joinRoom(protocol::JoinRoom{ann.online.code(), std::nullopt, {2}, {"Bob"}, false});
        eve.client.joinRoom(protocol::JoinRoom{ann.online.code(), std::nullopt, {}, {}, true});
        Program* programs[] = {&ann, &bob, &eve};
        QTRY_VERIFY_WITH_TIMEOUT(eve.online.hasJoined() && bob.session.game().gameRunning &&
                                     eve.session.game().gameRunning && ann.session.game().gameRunning, 30000);
        QVERIFY(eve.online.spectating());
        QVERIFY(!bob.online.isHost());
        QCOMPARE(bob.session.game().seats[2].name, std::string("Bob"));
        // Begun from its start, the game has its record here.
        QCOMPARE(ann.session.record().seatCount(), 3);
        QVERIFY(!ann.session.record().start.announcements.empty());  // its first turn's start

        // Ann, Bob and the computer take turns: six shots of theirs.
        const float aims[][2] = {{0, -1400}, {300, -1200}, {-500, -1500}, {800, -900}, {-200, -1800}, {100, -700}};
        int personShots = 0;
        // Done once the persons have shot, and every program has played
        // every shot served while a person's turn waits (no computer shot
        // can come meanwhile).
        const auto settled = [&] {
            for (Program* p : programs)
                if (p->hashes.size() != ann.served.size() || p->served.size() != ann.served.size()) return false;
            return personShots == 6 && ann.served.size() >= 8 && ann.session.game().currentTurn != 3;
        };
        for (int guard = 0; !settled(); ++guard) {
            QVERIFY2(guard < 400000, "the game does not go on");
            for (Program* p : {&ann, &bob}) {
                if (p->myTurn() && int(p->served.size()) == p->online.shotsPlayed() && personShots < 6) {
                    const auto& a = aims[personShots];
                    p->shoot(a[0], a[1], 3000 + 400 * personShots);
                    ++personShots;
                }
            }
            for (Program* p : programs) p->step();
            QCoreApplication::processEvents();
        }
        // Every shot played here, paced or by hand, ended as the server's.
        for (Program* p : programs) {
            QCOMPARE(p->hashes, ann.served);
            QCOMPARE(p->online.mismatches(), 0);
        }
        // The aim streamed while Ann and Bob aimed reached the others, thinned.
        QVERIFY(ann.aimsSent > 0 && bob.aimsSent > 0);
        QVERIFY(eve.aimsSeen > 0 && eve.aimsSeen <= ann.aimsSent + bob.aimsSent);
        QVERIFY(ann.session.record().shotCount() >= 8);
        QVERIFY(eve.said.empty());

        // The spectator's game goes astray (a piece nudged): its next shot
        // differs from the server's, it says so, and takes the server's game.
        Game astray = eve.session.game();
        astray.piece(2).left += 15;
        eve.session.beginOnlineGame(astray, std::nullopt);
        for (int guard = 0; !ann.myTurn() && !bob.myTurn(); ++guard) {
            QVERIFY2(guard < 400000, "nobody's turn comes");
            for (Program* p : programs) p->step();
            QCoreApplication::processEvents();
        }
        Program& next = ann.myTurn() ? ann : bob;
        next.shoot(0, -1000, 4000);
        const auto resynced = [&] {
            const bool atRest = !ann.session.turn().running() && !eve.session.turn().running();
            return eve.online.mismatches() == 1 && !eve.online.awaitingState() && atRest &&
                   eve.online.shotsPlayed() == ann.online.shotsPlayed() &&
                   int(ann.served.size()) == ann.online.shotsPlayed();
        };
        for (int guard = 0; !resynced(); ++guard) {
            QVERIFY2(guard < 400000, "the spectator does not come back to the server's game");
            for (Program* p : programs) p->step();
            QCoreApplication::processEvents();
        }
        QCOMPARE(eve.session.game().hash(), ann.session.game().hash());
        QCOMPARE(eve.said.size(), std::size_t(1));
        QCOMPARE(ann.online.mismatches() + bob.online.mismatches(), 0);

        // Bob drops: the others wait for him, and the host hands his seat
        // to the computer.
        bob.client.close();
        QTRY_COMPARE_WITH_TIMEOUT(ann.online.waitingText(), std::string("Waiting for Bob\u2026"), 30000);
        eve.client.handToComputer(2);
        ann.client.handToComputer(2);
        QTRY_VERIFY_WITH_TIMEOUT(ann.online.seats()[1].presence == protocol::SeatPresence::Computer, 30000);
        QCOMPARE(ann.online.waitingText(), std::string());

        // The server goes: the game goes on here with every seat at this computer.
        server.stop();
        ann.online.goOffline();
        QVERIFY(!ann.session.seatIsRemote());
    }

    // The handshake: what the player is told when the other side is not a
    // server of this version that welcomes it.
    void aServerThatDoesNotWelcomeIsToldClearly() {
        struct Case {
            const char* answer;  // the fake server's answer to the hello
            const char* told;
        };
        const Case cases[] = {
            {R"({"type": "welcome", "protocol": 2, "serverVersion": "9.0"})",
             "The server cannot be played with: The other side speaks version 2 of the online game, this program "
             "version 1: this program is older and needs an update."},
            {R"({"type": "refused", "protocol": 0, "reason": "x"})", "the other program is older and needs an update."},
            {R"({"type": "refused", "protocol": 1, "code": 21, "reason": "Too many connections from your address."})",
             "The server refused the connection: Too many connections from your address."},
            {"hello?", "The server cannot be played with: The message is not JSON text."},
            {R"({"type": "seats", "protocol": 1, "seats": [{"seat": 1, "name": "A", "presence": "open", "kind": "human", "host": false}]})",
             "The server did not say welcome."},
        };
        QWebSocketServer fake(QStringLiteral("fake"), QWebSocketServer::NonSecureMode);
        QVERIFY(fake.listen(QHostAddress::LocalHost));
        QString answer;
        QObject::connect(&fake, &QWebSocketServer::newConnection, [&] {
            QWebSocket* s = fake.nextPendingConnection();
            s->setParent(&fake);  // gone with the fake server
            QObject::connect(s, &QWebSocket::textMessageReceived, s, [s, &answer] { s->sendTextMessage(answer); });
        });
        for (const Case& c : cases) {
            answer = QString::fromUtf8(c.answer);
            network::GameClient client;
            QSignalSpy lost(&client, &network::GameClient::connectionLost);
            client.connectTo(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(fake.serverPort())), "Ann", "test");
            QTRY_COMPARE_WITH_TIMEOUT(lost.count(), 1, 30000);
            const QString told = lost.front().front().toString();
            QVERIFY2(told.contains(QString::fromUtf8(c.told)), qPrintable(told));
            QVERIFY(!client.isWelcomed());
        }
        const std::pair<const char*, const char*> urls[] = {
            {"example.org:47474", "ws://example.org:47474"},
            {" wss://example.org:443/play?room=K7QX2M ", "wss://example.org:443/play?room=K7QX2M"},
            {"http://example.org", ""},
            {"", ""},
            {"ws://", ""},
        };
        for (const auto& [typed, url] : urls)
            QCOMPARE(network::GameClient::serverUrl(QString::fromUtf8(typed)).toString(), QString::fromUtf8(url));
    }
};

QTEST_GUILESS_MAIN(OnlineGameTest)
#include "tst_online_game.moc"
