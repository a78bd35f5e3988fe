// The online client over loopback, no window: aims streamed, a program astray getting the server's
// game back, a player waited for and handed over, a server that does not welcome.
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

// A clock that moves on at every look, so paced runs get on.
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
    int aimsSent = 0, aimsSeen = 0;
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
        QObject::connect(&client, &C::accepted, [this](const auto& a) { online.onAccepted(a); });
        QObject::connect(&client, &C::aimed, [this](const auto& a) { ++aimsSeen, online.onAim(a); });
        QObject::connect(&client, &C::refused, [this](const auto& r) { online.onRefused(r); });
        client.connectTo(QUrl(QStringLiteral("ws://127.0.0.1:%1/?room=x").arg(port)), name, "test");
        QTRY_VERIFY_WITH_TIMEOUT(client.isWelcomed(), 30000);
    }

    // One step between two events, as the window takes it.
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
        session.advanced();
    }
    bool myTurn() const {
        const Game& g = session.game();
        return g.gameRunning && online.seatIsMine(g.currentTurn) && !session.turn().running() &&
               session.turn().phase() != TurnPhase::Judging;
    }
    // The aim dragged out from the piece, let go, and "Go" when the bar reaches `level`.
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
    void aProgramAstrayGetsTheServersGameBackAndAPlayerGoneIsHandedOver() {
        network::ServerOptions options;
        options.planner = {.threads = 1, .directions = 8, .strengths = 4, .refineSeeds = 1};
        options.limits.aimsPerSecond = 1000000;  // the players' clocks run far faster than the real one
        network::ServerHost server(options);
        QString error;
        QVERIFY2(server.start(&error), qPrintable(error));

        Program ann(server.port(), "Ann"), bob(server.port(), "Bob");
        ann.client.createRoom(protocol::CreateRoom{{PlayerKind::Human, PlayerKind::Human}, true, {"Ann", ""}, {1}});
        QTRY_VERIFY_WITH_TIMEOUT(ann.online.hasJoined(), 30000);
        bob.client.joinRoom(protocol::JoinRoom{ann.online.code(), std::nullopt, {2}, {"Bob"}, false});
        const auto stepAll = [&] {
            ann.step(), bob.step();
            QCoreApplication::processEvents();
        };
        const auto begun = [&] { return ann.session.game().gameRunning && bob.session.game().gameRunning; };
        for (int guard = 0; !begun() || (!ann.myTurn() && !bob.myTurn()); ++guard) {
            QVERIFY2(guard < 400000, "nobody's turn comes");
            stepAll();
        }
        // The other's game astray (the piece nudged): the shot ends otherwise there, told, the server's game taken.
        Program& shooter = ann.myTurn() ? ann : bob;
        Program& other = &shooter == &ann ? bob : ann;
        Game astray = other.session.game();
        astray.piece(astray.currentTurn).left += 15;
        other.session.beginOnlineGame(astray, std::nullopt);
        shooter.shoot(0, -1000, 4000);
        const auto resynced = [&] {
            return other.online.mismatches() == 1 && !other.online.awaitingState() && shooter.online.shotsPlayed() == 1 &&
                   other.online.shotsPlayed() == 1 && !shooter.session.turn().running() && !other.session.turn().running();
        };
        for (int guard = 0; !resynced(); ++guard) {
            QVERIFY2(guard < 400000, "the program astray does not come back to the server's game");
            stepAll();
        }
        QCOMPARE(other.session.game().hash(), shooter.session.game().hash());
        QCOMPARE(other.said.size(), std::size_t(1));
        QCOMPARE(shooter.online.mismatches(), 0);
        QVERIFY(other.aimsSeen > 0 && other.aimsSeen <= shooter.aimsSent);  // the aim streamed, thinned

        bob.client.close();  // Ann waits for him, then hands his seat to the computer
        QTRY_COMPARE_WITH_TIMEOUT(ann.online.waitingText(), std::string("Waiting for Bob\u2026"), 30000);
        ann.client.handToComputer(2);
        QTRY_VERIFY_WITH_TIMEOUT(ann.online.seats()[1].presence == protocol::SeatPresence::Computer, 30000);
        QCOMPARE(ann.online.waitingText(), std::string());

        server.stop();  // the game goes on here, every seat at this computer
        ann.online.goOffline();
        QVERIFY(!ann.session.seatIsRemote());
    }

    // What is told when the other side is no server of this version that welcomes; the addresses typed.
    void aServerThatDoesNotWelcomeIsToldClearly() {
        const std::pair<const char*, const char*> cases[] = {  // the fake server's answer to the hello, what is told
            {R"({"type": "welcome", "protocol": 2, "serverVersion": "9.0"})", "The server cannot be played with: The other side speaks version 2 of the online game, this program version 1: this program is older and needs an update."},
            {R"({"type": "refused", "protocol": 0, "reason": "x"})", "the other program is older and needs an update."},
            {R"({"type": "refused", "protocol": 1, "code": 21, "reason": "Too many connections from your address."})", "The server refused the connection: Too many connections from your address."},
            {"hello?", "The server cannot be played with: The message is not JSON text."},
            {R"({"type": "seats", "protocol": 1, "seats": [{"seat": 1, "name": "A", "presence": "open", "kind": "human", "host": false}]})", "The server did not say welcome."},
        };
        QWebSocketServer fake(QStringLiteral("fake"), QWebSocketServer::NonSecureMode);
        QVERIFY(fake.listen(QHostAddress::LocalHost));
        QString answer;
        QObject::connect(&fake, &QWebSocketServer::newConnection, [&] {
            QWebSocket* s = fake.nextPendingConnection();
            s->setParent(&fake);
            QObject::connect(s, &QWebSocket::textMessageReceived, s, [s, &answer] { s->sendTextMessage(answer); });
        });
        for (const auto& [answered, told] : cases) {
            answer = QString::fromUtf8(answered);
            network::GameClient client;
            QSignalSpy lost(&client, &network::GameClient::connectionLost);
            client.connectTo(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(fake.serverPort())), "Ann", "test");
            QTRY_COMPARE_WITH_TIMEOUT(lost.count(), 1, 30000);
            const QString said = lost.front().front().toString();
            QVERIFY2(said.contains(QString::fromUtf8(told)), qPrintable(said));
            QVERIFY(!client.isWelcomed());
        }
        const std::pair<const char*, const char*> urls[] = {{"example.org:47474", "ws://example.org:47474"}, {"http://example.org", ""},
            {" wss://example.org:443/play?room=K7QX2M ", "wss://example.org:443/play?room=K7QX2M"}, {"", ""}, {"ws://", ""}};
        for (const auto& [typed, url] : urls)
            QCOMPARE(network::GameClient::serverUrl(QString::fromUtf8(typed)).toString(), QString::fromUtf8(url));
    }
};

QTEST_GUILESS_MAIN(OnlineGameTest)
#include "tst_online_game.moc"
