// The shots in the real main window: a shot fast-forwarded ends exactly as
// at normal pace, the turn's keys, and the running game kept on disk and
// offered again at the next start.
#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QtTest>
#include <memory>

#include "records/NewGame.h"
#include "rules/TurnStart.h"
#include "support/BoxAnswerer.h"
#include "support/QtTestMain.h"
#include "ui/App.h"
#include "ui/Autosave.h"
#include "ui/MainWindow.h"
#include "ui/StepScheduler.h"

using capzel::GameContext;
using capzel::TurnPhase;
using capzel::ui::CapzelApp;
using capzel::ui::MainWindow;

class ShotsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CapzelApp> app_;
    MainWindow* w_ = nullptr;
    std::unique_ptr<capzel::test::BoxAnswerer> boxes_;

    void openGame(QStringList answers = {}) {
        boxes_ = std::make_unique<capzel::test::BoxAnswerer>(answers);
        app_ = std::make_unique<CapzelApp>();
        w_ = &app_->openMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(w_));
    }
    void startTwoPlayers() {
        capzel::NewGameSettings s;
        s.players = 2;
        s.names[1] = "Ann";
        s.names[2] = "Bob";
        GameContext ctx = w_->context();
        capzel::applyNewGame(ctx, s);
        capzel::startTurn(ctx, 1);
    }
    // Ann's piece on box 1 shot up and to the right, through the window's clock.
    void shoot() {
        w_->field().board.pointer = {1580, 8420, 1500, 8900};
        w_->field().board.pointer.visible = true;
        w_->state().power = 4000;
        w_->turn().startShot();
        w_->scheduler().start();
        QTRY_VERIFY_WITH_TIMEOUT(!w_->turn().running(), 60000);
    }
    void sendKey(QEvent::Type type, int k) {
        QKeyEvent e(type, k, Qt::NoModifier);
        QApplication::sendEvent(w_->windowHandle(), &e);
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void cleanup() {
        boxes_.reset();
        app_.reset();
        QFile::remove(QString::fromStdString(capzel::ui::autosaveFile()));
    }

    void fastForwardEndsAsAtNormalPace() {
        openGame({"Yes"});
        startTwoPlayers();
        shoot();
        const auto normal = w_->field().board.pieces;
        QVERIFY(w_->menus().undoAction->isEnabled());
        w_->menus().undoAction->trigger();  // answered Yes
        QCOMPARE(w_->state().currentTurn, std::int16_t(1));
        w_->menus().fastForwardAction->setChecked(true);
        w_->syncShotState();
        QVERIFY(w_->scheduler().fast());
        shoot();
        for (int i = 1; i <= 2; ++i) {
            QCOMPARE(w_->field().board.pieces[i].left, normal[i].left);
            QCOMPARE(w_->field().board.pieces[i].top, normal[i].top);
        }
    }

    // Space or Enter while the bar charges is "Go"; Space held runs the
    // shot fast until let go; Esc calls the charge off.
    void keysDuringACharge_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("shoots");
        QTest::newRow("Space") << int(Qt::Key_Space) << true;
        QTest::newRow("Enter") << int(Qt::Key_Return) << true;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << false;
    }
    void keysDuringACharge() {
        QFETCH(int, key);
        QFETCH(bool, shoots);
        openGame();
        startTwoPlayers();
        w_->field().board.pointer = {1580, 8420, 1500, 8900};
        w_->field().board.pointer.visible = true;
        w_->turn().mouseUp();
        sendKey(QEvent::KeyPress, key);
        QCOMPARE(w_->scheduler().fast(), key == Qt::Key_Space);
        QTRY_VERIFY(w_->turn().phase() != TurnPhase::Charging);
        QCOMPARE(w_->turn().phase() == TurnPhase::Shooting, shoots);
        sendKey(QEvent::KeyRelease, key);
        QVERIFY(!w_->scheduler().fast());
        QTRY_VERIFY_WITH_TIMEOUT(!w_->turn().running(), 60000);
        QCOMPARE(w_->state().currentTurn, std::int16_t(shoots ? 2 : 1));
    }

    // A judged shot is kept on disk; the next start offers it and Yes
    // brings it back. A broken file is told and set aside.
    void theGameKeptOnDiskComesBack() {
        openGame();
        startTwoPlayers();
        shoot();
        app_.reset();
        openGame({"Yes"});
        app_->offerResume();
        QVERIFY(boxes_->messages().contains(QString(capzel::ui::kResumeQuestion)));
        QVERIFY(w_->state().gameRunning);
        QCOMPARE(w_->state().currentTurn, std::int16_t(2));

        const QString path = QString::fromStdString(capzel::ui::autosaveFile());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a saved game\r\n");
        f.close();
        app_.reset();
        openGame();
        app_->offerResume();
        QCOMPARE(boxes_->messages().size(), 1);
        QVERIFY(boxes_->messages()[0].contains("set aside"));
        QVERIFY(!QFile::exists(path) && QFile::exists(path + ".broken"));
        QVERIFY(!w_->state().gameRunning);
        QFile::remove(path + ".broken");
    }
};

CAPZEL_QT_TEST(ShotsTest)
#include "tst_shots.moc"
