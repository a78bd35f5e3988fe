// Shots in the main window: fast forward and replay, and the game kept on disk.
#include <QAction>
#include <QtTest>
#include <memory>

#include "records/NewGame.h"
#include "rules/TurnStart.h"
#include "support/ModalAnswerer.h"
#include "support/QtTestMain.h"
#include "app/App.h"
#include "ui/desktop/Autosave.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/StepScheduler.h"

class ShotsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<capzel::test::ModalAnswerer> boxes_;
    std::unique_ptr<capzel::ui::CapzelApp> app_;
    capzel::ui::MainWindow* w_ = nullptr;

    // A new window; with `play`, Ann and Bob's game at Ann's turn, aimed.
    void open(bool play, QStringList answers = {}) {
        boxes_ = std::make_unique<capzel::test::ModalAnswerer>(answers);
        app_ = std::make_unique<capzel::ui::CapzelApp>();
        w_ = &app_->openMainWindow();
        if (!play) return;
        capzel::NewGameSettings s;
        s.players = 2;
        capzel::GameContext ctx = w_->context();
        capzel::applyNewGame(ctx, s);
        capzel::startTurn(ctx, 1);
        w_->field().board.pointer = {1580, 8420, 1500, 8900};
        w_->field().board.pointer.visible = true;
    }
    void shoot() {
        w_->state().power = 4000;
        w_->turn().startShot();
        w_->scheduler().start();
        // Over once its announcements are told.
        QTRY_VERIFY_WITH_TIMEOUT(!w_->turn().running() && w_->turn().phase() != capzel::TurnPhase::Judging, 60000);
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void cleanup() {
        boxes_.reset();
        app_.reset();
        QFile::remove(QString::fromStdString(capzel::ui::autosaveFile()));
    }

    // Undone and played fast, then replayed: the pieces end as at normal pace.
    void fastForwardAndReplayEndAsAtNormalPace() {
        open(true, {"Yes"});
        shoot();
        const auto normal = w_->field().board.pieces;
        w_->menus().undoAction->trigger();
        QCOMPARE(w_->state().currentTurn, std::int16_t(1));
        w_->field().board.pointer.visible = true;
        w_->menus().fastForwardAction->trigger();
        QVERIFY(w_->scheduler().fast());
        shoot();
        w_->menus().replayAction->trigger();
        QCOMPARE(w_->turn().phase(), capzel::TurnPhase::Replaying);
        QVERIFY(!w_->menus().undoAction->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!w_->turn().running(), 60000);
        QVERIFY(w_->menus().undoAction->isEnabled());
        for (int i = 1; i <= 2; ++i)
            QCOMPARE(std::pair(w_->field().board.pieces[i].left, w_->field().board.pieces[i].top),
                     std::pair(normal[i].left, normal[i].top));
    }

    // A broken game kept on disk is told and set aside at the next start.
    void aBrokenKeptGameIsSetAside() {
        const QString path = QString::fromStdString(capzel::ui::autosaveFile());
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("not a saved game\r\n") > 0);
        f.close();
        open(false);
        app_->offerResume();
        QVERIFY(boxes_->messages().size() == 1 && boxes_->messages()[0].contains("set aside"));
        QVERIFY(!QFile::exists(path) && QFile::remove(path + ".broken"));
        QVERIFY(!w_->state().gameRunning);
    }
};

CAPZEL_QT_TEST(ShotsTest)
#include "tst_shots.moc"
