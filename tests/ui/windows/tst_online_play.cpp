// An online game hosted in the game's own windows, Ann at this computer and
// the server's computer beside her: the game begins in the main window from
// the server's state, the commands that would change it here alone are
// greyed and say why, the first-game steps stay away, a shot played in the
// window is the server's to the bit, and its box does not stop the
// computer's shot from being shown. A spectator's window: the "Watching"
// cue, a word for a drag, the chat docked beside the field, and the game
// ended here, not taken over, when the server goes. And a table of what a
// hostile server tries: a join it never answers, a second answer for another
// room, shots with an aim no player could give, a shot that never rests, a
// game that cannot be read; each is told or refused, and none freezes the
// game.
#include <QLabel>
#include <QPlainTextEdit>
#include <QWebSocket>
#include <QWebSocketServer>

#include <algorithm>
#include <limits>
#include <numbers>

#include <nlohmann/json.hpp>

#include "app/AppOnline.h"
#include "model/PowerBarScale.h"
#include "network/ServerHost.h"
#include "players/PlannedShot.h"
#include "records/GameText.h"
#include "server/Room.h"
#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "desktop/MessageBoxes.h"
#include "ui/online/ChatLine.h"
#include "ui/windows/FirstGameCoach.h"
#include "ui/windows/MainMenus.h"
#include "ui/windows/RuleBanner.h"
#include "ui/windows/SidePanel.h"

namespace {

using namespace capzel::protocol;

// A server that says welcome, then answers a join as the test tells it.
struct HostileServer {
    QWebSocketServer server{QStringLiteral("hostile"), QWebSocketServer::NonSecureMode};
    std::function<void(QWebSocket&, const JoinRoom&)> answer = [](QWebSocket&, const JoinRoom&) {};

    HostileServer() {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QWebSocketServer::newConnection, [this] {
            QWebSocket* socket = server.nextPendingConnection();
            QObject::connect(socket, &QWebSocket::textMessageReceived, [this, socket](const QString& text) {
                const Decoded d = decodeMessage(text.toStdString());
                said.push_back(d);
                if (std::holds_alternative<Hello>(d)) say(*socket, Welcome{kProtocolVersion, "hostile"});
                if (const auto* join = std::get_if<JoinRoom>(&d)) answer(*socket, *join);
            });
        });
    }
    static void say(QWebSocket& socket, const Message& m) {
        socket.sendTextMessage(QString::fromStdString(encodeMessage(m)));
    }
    std::string url() const { return "ws://127.0.0.1:" + std::to_string(server.serverPort()); }
    // How many messages of kind T it was sent.
    template <typename T>
    long heard() const {
        return std::count_if(said.begin(), said.end(), [](const Decoded& d) { return std::holds_alternative<T>(d); });
    }

    std::vector<Decoded> said;  // what the program sent
};

enum class Hostile { NeverAnswers, SecondJoined, NanAim, OutOfReach, EndlessShot, UnreadableGame };

// The game a server begins for Bob (seat 1, elsewhere) and Ann (seat 2,
// here), every piece with the friction given, and Bob's first shot as the
// server passes it on (its hash made up).
struct ServedGame {
    State state;
    Accepted first;
};

ServedGame servedGame(float friction) {
    using capzel::PlayerKind;
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

const std::vector<SeatStatus> kSeats{{1, "Ann", SeatPresence::Connected, capzel::PlayerKind::Human, false},
                                     {2, "Bob", SeatPresence::Open, capzel::PlayerKind::Human, false}};
const std::vector<SeatStatus> kBothHere{{1, "Bob", SeatPresence::Connected, capzel::PlayerKind::Human, true},
                                        {2, "Ann", SeatPresence::Connected, capzel::PlayerKind::Human, false}};

}  // namespace

Q_DECLARE_METATYPE(Hostile)

class OnlinePlayTest : public QObject {
    Q_OBJECT

    capzel::test::WindowFixture f;

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void init() { QVERIFY(f.open()); }
    void cleanup() { f.close(); }

    void aHostedGameIsPlayedInTheWindowToTheServersBit() {
        using capzel::ui::HostSeat;
        capzel::ui::OnlinePlay& online = f.app->onlinePlay();
        const capzel::ui::HostChoices choices{0, true,
                                              {{"Ann", HostSeat::Who::ThisComputer, capzel::PlayerKind::Human},
                                               {"Bob", HostSeat::Who::Computer, capzel::PlayerKind::Novice}}};
        QString error;
        QVERIFY2(online.host(choices, &error), qPrintable(error));
        QTRY_VERIFY_WITH_TIMEOUT(f.game().gameRunning && f.app->session().online(), 30000);
        QCOMPARE(f.game().seats[2].name, std::string("Bob"));

        const capzel::ui::MainMenus& menus = f.window().menus();
        for (QAction* a : {menus.newAction, menus.loadAction, menus.undoAction, menus.redoAction, menus.setPositionAction}) {
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
            QCOMPARE(a->toolTip(), QStringLiteral("Not available in an online game"));
        }
        // A person of this computer is on turn, at a first game, and still
        // the steps of a first game at one computer do not show.
        QVERIFY(!f.app->settings().coachDone);
        QVERIFY(!f.window().coach()->isVisible());
        capzel::test::aim(f.window());
        QVERIFY(capzel::test::shoot(f.window()));
        QTRY_COMPARE_WITH_TIMEOUT(online.game()->shotsPlayed(), 1, 30000);
        // Ann's box ("Bob's turn start") stays open, unanswered, and Bob's
        // shot, the server's computer's, is shown meanwhile.
        QVERIFY(capzel::ui::openLooseMessage());
        QTRY_COMPARE_WITH_TIMEOUT(online.game()->shotsPlayed(), 2, 60000);
        QVERIFY(capzel::ui::openLooseMessage());
        QCOMPARE(online.game()->mismatches(), 0);
    }

    // A hostile server, one row a way it tries to fool or freeze the game.
    void aHostileServerNeitherFoolsNorFreezesTheGame_data() {
        QTest::addColumn<Hostile>("hostile");
        QTest::newRow("a join it never answers is told, and the player may wait once more, then go back")
            << Hostile::NeverAnswers;
        QTest::newRow("a second answer, for another room, takes nothing") << Hostile::SecondJoined;
        QTest::newRow("a shot whose aim is not a number is not played; the server's game is asked for")
            << Hostile::NanAim;
        QTest::newRow("a shot the rulebook refuses is not played; the server's game is asked for")
            << Hostile::OutOfReach;
        QTest::newRow("a shot that barely slows (a friction of 100) is shown in seconds, not minutes")
            << Hostile::EndlessShot;
        QTest::newRow("a game that cannot be read is told, and nothing is played") << Hostile::UnreadableGame;
    }

    void aHostileServerNeitherFoolsNorFreezesTheGame() {
        QFETCH(Hostile, hostile);
        HostileServer server;
        capzel::ui::OnlinePlay& online = f.app->onlinePlay();
        capzel::test::ModalAnswerer& answerer = *f.modals;
        ServedGame served = servedGame(hostile == Hostile::EndlessShot ? 100.0f : 98.0f);
        if (hostile == Hostile::NanAim) served.first.shot.inputs.x1 = std::numeric_limits<float>::quiet_NaN();
        if (hostile == Hostile::OutOfReach) served.first.shot.inputs.x2 = 1e7f;
        if (hostile == Hostile::UnreadableGame) {
            auto j = nlohmann::json::parse(served.state.gameText);
            j["fieldHeight"] = "7fc00000";
            served.state.gameText = j.dump();
        }
        const bool game = hostile != Hostile::NeverAnswers && hostile != Hostile::SecondJoined;
        server.answer = [&](QWebSocket& socket, const JoinRoom& join) {
            if (hostile == Hostile::NeverAnswers) return;
            HostileServer::say(socket, Joined{join.code, {2}, std::string(32, 'a'), false, game ? kBothHere : kSeats});
            if (!game) {
                HostileServer::say(socket, Joined{"GHJKLM", {1}, std::string(32, 'b'), true, kSeats});
                std::vector<SeatStatus> marked = kSeats;
                marked[1].name = "Marker";
                return HostileServer::say(socket, Seats{marked});
            }
            HostileServer::say(socket, served.state);
            HostileServer::say(socket, served.first);
        };
        if (hostile == Hostile::NeverAnswers) {
            online.client().setAnswerTimeoutMs(200);
            answerer.answers = {"No", "Yes"};
        }
        online.join(capzel::ui::JoinChoices{server.url(), "ABCDEF", "Ann", false});

        switch (hostile) {
        case Hostile::NeverAnswers:
            QTRY_VERIFY_WITH_TIMEOUT(!online.game(), 20000);
            QCOMPARE(answerer.boxes.size(), 2);
            QVERIFY2(answerer.boxes[0].text.startsWith("The server has not answered for 0.2 seconds."),
                     qPrintable(answerer.boxes[0].text));
            QCOMPARE(answerer.boxes[0].buttons, (QList{QMessageBox::Yes, QMessageBox::No}));
            QVERIFY(!online.connected());
            break;
        case Hostile::SecondJoined: {
            QTRY_VERIFY_WITH_TIMEOUT(online.game() && online.game()->seats().size() == 2 &&
                                         online.game()->seats()[1].name == "Marker", 20000);
            QCOMPARE(online.game()->code(), std::string("ABCDEF"));
            QCOMPARE(online.game()->mySeats(), std::vector<int>{2});
            QVERIFY(!online.game()->isHost());
            const auto kept = capzel::ui::keptOnlineSeat();
            QVERIFY(kept.has_value());
            QCOMPARE(kept->code, QStringLiteral("ABCDEF"));
            QCOMPARE(kept->token, std::string(32, 'a'));
            break;
        }
        case Hostile::NanAim:
        case Hostile::OutOfReach:
            QTRY_VERIFY_WITH_TIMEOUT(server.heard<StateRequest>() == 1, 30000);
            QCOMPARE(online.game()->shotsPlayed(), 0);
            QVERIFY(f.game().gameRunning);
            break;
        case Hostile::EndlessShot:
            // Fast Forward, as a player would: the first 1,000 cycles take
            // about 2 s; at that pace its 31,000 would still take 70 s.
            QTRY_VERIFY_WITH_TIMEOUT(f.app->session().online() && f.game().gameRunning, 30000);
            f.window().menus().fastForwardAction->setChecked(true);
            f.window().syncMenus();
            QTRY_VERIFY_WITH_TIMEOUT(online.game() && online.game()->shotsPlayed() == 1, 40000);
            QTRY_VERIFY_WITH_TIMEOUT(server.heard<StateRequest>() == 1, 30000);  // its hash was made up
            break;
        case Hostile::UnreadableGame:
            QTRY_VERIFY_WITH_TIMEOUT(!online.game() && !answerer.messages().isEmpty(), 30000);
            QVERIFY2(answerer.messages().constLast().contains("/snapshot: fieldHeight: is not a finite number"),
                     qPrintable(answerer.messages().constLast()));
            QVERIFY(!online.connected());
            break;
        }
        online.leave();
    }

    void aSpectatorWatchesAndTheGameEndsHereWhenTheServerGoes() {
        using namespace capzel;
        auto server = std::make_unique<network::ServerHost>(network::ServerOptions{});
        QString error;
        QVERIFY2(server->start(&error), qPrintable(error));
        const QString url = QStringLiteral("ws://127.0.0.1:%1").arg(server->port());
        network::GameClient ann;
        QString code;
        connect(&ann, &network::GameClient::joined, this, [&code](const protocol::Joined& j) { code = QString::fromStdString(j.code); });
        ann.connectTo(QUrl(url), "Ann", "test");
        QTRY_VERIFY_WITH_TIMEOUT(ann.isWelcomed(), 5000);
        ann.createRoom(protocol::CreateRoom{{PlayerKind::Human, PlayerKind::Novice}, true, {"Ann", "Deep"}, {1}});
        QTRY_VERIFY_WITH_TIMEOUT(!code.isEmpty(), 5000);
        f.app->onlinePlay().join({url.toStdString(), code.toStdString(), "Eve", true});
        QTRY_VERIFY_WITH_TIMEOUT(f.game().gameRunning && f.app->session().online(), 30000);

        ui::SidePanel* side = f.window().side();
        QVERIFY(side->isVisible() && side->watchingLabel()->isVisible());
        QVERIFY(!side->geometry().intersects(f.window().view()->geometry()));
        auto* chat = qobject_cast<ui::ChatLine*>(side->docked());
        QVERIFY(chat && chat->isVisible());
        ann.sendChat("<b>hi</b>");
        QTRY_COMPARE(chat->log()->toPlainText(), QStringLiteral("Ann: <b>hi</b>"));
        // What the rules say of Ann's shots shows above the chat, whole.
        f.window().banner()->post(QStringLiteral("Ann reached target 2.\nNew Target: 3"));
        const ui::RuleBanner* said = f.window().banner();
        QTRY_VERIFY(said->shownLabels().constFirst()->height() >= 30 && said->height() >= said->shownLabels().constFirst()->height() &&
                    chat->y() >= said->height());
        // Ann's turn, at her computer: a drag here is not taken, and says so.
        const QPointF at(100, 500);
        QMouseEvent drag(QEvent::MouseMove, at, f.window().view()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(f.window().view(), &drag);
        QVERIFY(side->noteLabel()->isVisible() && side->noteLabel()->text().contains(QLatin1String("watching")));
        QVERIFY(!f.window().turn().shownGame().board.pointer.visible);

        const Game lastStood = f.game();
        server.reset();  // the server goes, and the game with it: the field shows it as it last stood
        QTRY_VERIFY_WITH_TIMEOUT(f.app->session().stoppedPlaying(), 30000);
        QVERIFY(f.game() == lastStood);
        QVERIFY(!f.app->session().online());
        QVERIFY(f.modals->messages().constLast().contains(QLatin1String("You were watching")));
        QVERIFY(!f.app->session().seatIsComputer() && !f.window().side()->watching());
    }
};

CAPZEL_QT_TEST(OnlinePlayTest)
#include "tst_online_play.moc"
