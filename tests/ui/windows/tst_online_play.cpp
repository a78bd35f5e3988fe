// An online game hosted in the game's own windows, both seats at this
// computer: the game begins in the main window from the server's state,
// the commands that would change it here alone are greyed and say why, the
// first-game steps stay away, a shot played in the window is the server's
// to the bit.
#include "app/AppOnline.h"
#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "ui/windows/FirstGameCoach.h"
#include "ui/windows/MainMenus.h"

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
                                               {"Bob", HostSeat::Who::ThisComputer, capzel::PlayerKind::Human}}};
        QString error;
        QVERIFY2(online.host(choices, &error), qPrintable(error));
        QTRY_VERIFY_WITH_TIMEOUT(f.state().gameRunning && f.app->session().online(), 30000);
        QCOMPARE(f.state().playerName[2], std::string("Bob"));

        const capzel::ui::MainMenus& menus = f.window().menus();
        for (QAction* a : {menus.newAction, menus.loadAction, menus.undoAction, menus.redoAction, menus.setPositionAction}) {
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
            QCOMPARE(a->toolTip(), QStringLiteral("Not available in an online game"));
        }
        // A person of this computer is on turn, at a first game, and still
        // the steps of a first game at one computer do not show.
        QVERIFY(!f.app->settings().coachDone);
        QVERIFY(!f.window().coach()->isVisible());
        QVERIFY(capzel::test::shoot(f.window()));
        QTRY_COMPARE_WITH_TIMEOUT(online.game()->shotsPlayed(), 1, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(f.app->session().turn().phase() == capzel::TurnPhase::Idle, 30000);
        QCOMPARE(online.game()->mismatches(), 0);
    }
};

CAPZEL_QT_TEST(OnlinePlayTest)
#include "tst_online_play.moc"
