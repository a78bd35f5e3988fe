// Online games in the windows: a hosted game, a hostile server (told or refused, never frozen), a spectator.
#include <QWebSocket>
#include <QWebSocketServer>
#include <nlohmann/json.hpp>
#include <numbers>

#include "app/AppOnline.h"
#include "desktop/MessageBoxes.h"
#include "model/PowerBarScale.h"
#include "network/ServerHost.h"
#include "records/GameText.h"
#include "server/Room.h"
#include "support/QtTestMain.h"
#include "ui/online/ChatLine.h"
#include "ui/windows/FirstGameCoach.h"
#include "ui/windows/RuleBanner.h"
#include "ui/windows/SidePanel.h"

namespace {

using namespace capzel::protocol;
using capzel::PlayerKind;

// Says welcome, then `answer` to a join.
struct HostileServer {
    QWebSocketServer server{QStringLiteral("hostile"), QWebSocketServer::NonSecureMode};
    std::vector<Message> answer;
    int stateRequests = 0;

    HostileServer() {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QWebSocketServer::newConnection, [this] {
            QWebSocket* socket = server.nextPendingConnection();
            QObject::connect(socket, &QWebSocket::textMessageReceived, [this, socket](const QString& text) {
                const Decoded d = decodeMessage(text.toStdString());
                stateRequests += std::holds_alternative<StateRequest>(d);
                if (std::holds_alternative<Hello>(d)) say(*socket, Welcome{kProtocolVersion, "hostile"});
                if (std::holds_alternative<JoinRoom>(d))
                    for (const Message& m : answer) say(*socket, m);
            });
        });
    }
    static void say(QWebSocket& socket, const Message& m) { socket.sendTextMessage(QString::fromStdString(encodeMessage(m))); }
    std::string url() const { return "ws://127.0.0.1:" + std::to_string(server.serverPort()); }
};

enum class Hostile { NeverAnswers, SecondJoined, NanAim, OutOfReach, EndlessShot, UnreadableGame };

// Bob's (seat 1, elsewhere) and Ann's (seat 2, here) game as the server begins it, and Bob's first shot, its hash made up.
struct ServedGame { State state; Accepted first; };
ServedGame servedGame(float friction) {
    capzel::server::Room room("ABCDEF", CreateRoom{{PlayerKind::Human, PlayerKind::Human}, true, {}, {}});
    capzel::server::TokenSource tokens;
    room.join("Bob", std::nullopt, tokens, capzel::server::Clock::now());
    room.join("Ann", std::nullopt, tokens, capzel::server::Clock::now());
    capzel::Game g = room.game();
    for (capzel::Seat& seat : g.seats) seat.friction = friction;
    const auto planned = capzel::players::shotAlong(g, -std::numbers::pi / 2, capzel::maxBarTicks() / 2);
    capzel::RecordedShot shot{capzel::players::plannedShotCommand(g, planned), {}};
    shot.outcome.hash = 0x0123456789abcdefull;
    return {State{0, capzel::writeGameText(g)}, Accepted{Shot{1, std::move(shot)}}};
}

const std::vector<SeatStatus> kSeats{{1, "Ann", SeatPresence::Connected, PlayerKind::Human, false}, {2, "Bob", SeatPresence::Open, PlayerKind::Human, false}};
const std::vector<SeatStatus> kBothHere{{1, "Bob", SeatPresence::Connected, PlayerKind::Human, true}, {2, "Ann", SeatPresence::Connected, PlayerKind::Human, false}};

}  // namespace

Q_DECLARE_METATYPE(Hostile)

class OnlinePlayTest : public capzel::test::WindowTest {
    Q_OBJECT

private slots:
    // Commands that would change the game here alone are greyed, saying why; no coach; an open box does not hold the computer's shot.
    void aHostedGameIsPlayedInTheWindow() {
        using capzel::ui::HostSeat;
        capzel::ui::OnlinePlay& online = f.app->onlinePlay();
        QString error;
        QVERIFY2(online.host({0, true, {{"Ann", HostSeat::Who::ThisComputer, PlayerKind::Human}, {"Bob", HostSeat::Who::Computer, PlayerKind::Novice}}},
                             &error), qPrintable(error));
        QTRY_VERIFY_WITH_TIMEOUT(f.game().gameRunning && f.app->session().online(), 30000);
        const capzel::ui::MainMenus& menus = f.window().menus();
        for (QAction* a : {menus.newAction, menus.loadAction, menus.undoAction, menus.redoAction, menus.setPositionAction}) {
            QVERIFY2(!a->isEnabled() && a->toolTip() == "Not available in an online game", qPrintable(a->objectName()));
        }
        QVERIFY(!f.app->settings().coachDone && !f.window().coach()->isVisible());
        capzel::test::aim(f.window());
        QVERIFY(capzel::test::shoot(f.window()));
        QTRY_VERIFY_WITH_TIMEOUT(online.game()->shotsPlayed() == 1 && capzel::ui::openLooseMessage(), 30000);  // "Bob's turn start", unanswered
        QTRY_VERIFY_WITH_TIMEOUT(online.game()->shotsPlayed() == 2 && capzel::ui::openLooseMessage(), 60000);
    }

    void aHostileServerNeitherFoolsNorFreezesTheGame_data() {
        QTest::addColumn<Hostile>("hostile");
        QTest::newRow("a join never answered: told, waited once more, then left") << Hostile::NeverAnswers;
        QTest::newRow("a second answer, for another room, takes nothing") << Hostile::SecondJoined;
        QTest::newRow("an aim not a number: not played, the game asked for") << Hostile::NanAim;
        QTest::newRow("an aim out of reach: not played, the game asked for") << Hostile::OutOfReach;
        QTest::newRow("a shot that barely slows (friction 100) ends in seconds") << Hostile::EndlessShot;
        QTest::newRow("an unreadable game: told, nothing played") << Hostile::UnreadableGame;
    }

    void aHostileServerNeitherFoolsNorFreezesTheGame() {
        QFETCH(Hostile, hostile);
        HostileServer server;
        capzel::ui::OnlinePlay& online = f.app->onlinePlay();
        ServedGame served = servedGame(hostile == Hostile::EndlessShot ? 100.0f : 98.0f);
        if (hostile == Hostile::NanAim) served.first.shot.inputs.x1 = std::numeric_limits<float>::quiet_NaN();
        if (hostile == Hostile::OutOfReach) served.first.shot.inputs.x2 = 1e7f;
        if (hostile == Hostile::UnreadableGame)
            served.state.gameText = nlohmann::json::parse(served.state.gameText).patch(R"([{"op": "add", "path": "/fieldHeight", "value": "7fc00000"}])"_json).dump();
        if (hostile == Hostile::SecondJoined)
            server.answer = {Joined{"ABCDEF", {2}, std::string(32, 'a'), false, kSeats}, Joined{"GHJKLM", {1}, std::string(32, 'b'), true, kSeats},
                             Seats{{kSeats[0], {2, "Marker", SeatPresence::Open, PlayerKind::Human, false}}}};
        else if (hostile != Hostile::NeverAnswers)
            server.answer = {Joined{"ABCDEF", {2}, std::string(32, 'a'), false, kBothHere}, served.state, served.first};
        else
            online.client().setAnswerTimeoutMs(200), f.modals->answers = {"No", "Yes"};
        online.join(capzel::ui::JoinChoices{server.url(), "ABCDEF", "Ann", false});

        switch (hostile) {
        case Hostile::NeverAnswers:
            QTRY_VERIFY_WITH_TIMEOUT(!online.game(), 20000);
            QCOMPARE(f.modals->boxes.size(), 2);
            QVERIFY2(f.modals->boxes[0].text.startsWith("The server has not answered for 0.2 seconds."), qPrintable(f.modals->boxes[0].text));
            QVERIFY(!online.connected());
            break;
        case Hostile::SecondJoined: {
            QTRY_VERIFY_WITH_TIMEOUT(online.game() && online.game()->seats().size() == 2 && online.game()->seats()[1].name == "Marker", 20000);
            QVERIFY(online.game()->code() == "ABCDEF" && online.game()->mySeats() == std::vector<int>{2} && !online.game()->isHost());
            const auto kept = capzel::ui::keptOnlineSeat();
            QVERIFY(kept && kept->code == "ABCDEF" && kept->token == std::string(32, 'a'));
            break;
        }
        case Hostile::NanAim:
        case Hostile::OutOfReach:
            QTRY_COMPARE_WITH_TIMEOUT(server.stateRequests, 1, 30000);
            QVERIFY(online.game()->shotsPlayed() == 0 && f.game().gameRunning);
            break;
        case Hostile::EndlessShot:  // Fast Forward, as a player would: 70 s at the shown pace
            QTRY_VERIFY_WITH_TIMEOUT(f.app->session().online() && f.game().gameRunning, 30000);
            f.window().menus().fastForwardAction->setChecked(true);
            f.window().syncMenus();
            QTRY_VERIFY_WITH_TIMEOUT(online.game() && online.game()->shotsPlayed() == 1, 40000);
            QTRY_COMPARE_WITH_TIMEOUT(server.stateRequests, 1, 30000);  // its hash was made up
            break;
        case Hostile::UnreadableGame:
            QTRY_VERIFY_WITH_TIMEOUT(!online.game() && !f.modals->messages().isEmpty(), 30000);
            QVERIFY2(f.modals->messages().constLast().contains("/snapshot: fieldHeight: is not a finite number"), qPrintable(f.modals->messages().join('|')));
            QVERIFY(!online.connected());
            break;
        }
        online.leave();
    }

    // A spectator: the "Watching" cue, chat docked beside the field, a drag refused with a word, the game ended when the server goes.
    void aSpectatorWatchesAndTheGameEndsHereWhenTheServerGoes() {
        using namespace capzel;
        auto server = std::make_unique<network::ServerHost>(network::ServerOptions{});
        QString error, code;
        QVERIFY2(server->start(&error), qPrintable(error));
        const QString url = QStringLiteral("ws://127.0.0.1:%1").arg(server->port());
        network::GameClient ann;
        connect(&ann, &network::GameClient::joined, this, [&code](const Joined& j) { code = QString::fromStdString(j.code); });
        ann.connectTo(QUrl(url), "Ann", "test");
        QTRY_VERIFY_WITH_TIMEOUT(ann.isWelcomed(), 5000);
        ann.createRoom(CreateRoom{{PlayerKind::Human, PlayerKind::Novice}, true, {"Ann", "Deep"}, {1}});
        QTRY_VERIFY_WITH_TIMEOUT(!code.isEmpty(), 5000);
        f.app->onlinePlay().join({url.toStdString(), code.toStdString(), "Eve", true});
        QTRY_VERIFY_WITH_TIMEOUT(f.game().gameRunning && f.app->session().online(), 30000);

        ui::SidePanel* side = f.window().side();
        QVERIFY(side->isVisible() && side->watchingLabel()->isVisible() && !side->geometry().intersects(f.window().view()->geometry()));
        auto* chat = qobject_cast<ui::ChatLine*>(side->docked());
        QVERIFY(chat && chat->isVisible());
        ann.sendChat("<b>hi</b>");  // as typed
        QTRY_COMPARE(chat->log()->toPlainText(), QStringLiteral("Ann: <b>hi</b>"));
        const ui::RuleBanner* banner = f.window().banner();  // above the chat, whole
        f.window().banner()->post(QStringLiteral("Ann reached target 2.\nNew Target: 3"));
        QTRY_VERIFY(banner->shownLabels().constFirst()->height() >= 30 &&
                    banner->height() >= banner->shownLabels().constFirst()->height() && chat->y() >= banner->height());
        f.moveOverField(QPointF(100, 500));
        QVERIFY(side->noteLabel()->isVisible() && side->noteLabel()->text().contains("watching") && !f.window().turn().shownGame().board.pointer.visible);

        const Game lastStood = f.game();
        server.reset();
        QTRY_VERIFY_WITH_TIMEOUT(f.app->session().stoppedPlaying(), 30000);
        QVERIFY(f.game() == lastStood && !f.app->session().online() && f.modals->messages().constLast().contains("You were watching"));
        QVERIFY(!f.app->session().seatIsComputer() && !f.window().side()->watching());
    }
};

CAPZEL_QT_TEST(OnlinePlayTest)
#include "tst_online_play.moc"
