// An online game hosted in the game's own windows, Ann at this computer and
// the server's computer beside her: the game begins in the main window from
// the server's state, the commands that would change it here alone are
// greyed and say why, the first-game steps stay away, a shot played in the
// window is the server's to the bit, and its box does not stop the
// computer's shot from being shown. A spectator's window: the "Watching"
// cue, a word for a drag, the chat docked beside the field, and the game
// ended here, not taken over, when the server goes.
#include <QLabel>
#include <QPlainTextEdit>

#include "app/AppOnline.h"
#include "network/ServerHost.h"
#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "desktop/MessageBoxes.h"
#include "ui/online/ChatLine.h"
#include "ui/windows/FirstGameCoach.h"
#include "ui/windows/MainMenus.h"
#include "ui/windows/RuleBanner.h"
#include "ui/windows/SidePanel.h"

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
