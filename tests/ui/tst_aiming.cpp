// A turn from the mouse on the real main window: mouse events sent to the
// field drive the aim line, hand placement, the power bar and the shot; the
// "Go" button is pressed from a timer while the bar charges, and the rules'
// messages are answered like a player would. A played shot is compared with
// the same shot played by the core alone on a scripted platform. The sets of
// buttons and shift keys are checked here through real events; their every
// combination and the label's number format are the core's
// (tests/core/controls_aiming_test.cpp).
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <memory>

#include "controls/Aiming.h"
#include "engine/Launch.h"
#include "records/NewGame.h"
#include "rules/Turns.h"
#include "support/BoxAnswerer.h"
#include "support/RunDriver.h"
#include "support/QtTestMain.h"
#include "ui/App.h"
#include "ui/FieldView.h"
#include "ui/FrmStatus.h"
#include "ui/frmMain.h"

using capzel::GameContext;
using capzel::modCapzel;
using capzel::ui::CapzelApp;
using capzel::ui::frmMain;

namespace {

constexpr int kTwipsPerPixel = 15;

// Runs `tick` every millisecond, also inside the game's loops (their yields
// handle timers), until it returns true.
class Poller : public QObject {
public:
    explicit Poller(std::function<bool()> tick) : tick_(std::move(tick)) {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            if (tick_()) timer_.stop();
        });
        timer_.start();
    }

private:
    std::function<bool()> tick_;
    QTimer timer_;
};

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

capzel::NewGameSettings twoPlayers() {
    capzel::NewGameSettings s;
    s.players = 2;
    s.names[1] = "Ann";
    s.names[2] = "Bob";
    return s;
}

// The core's own play of a turn: the same game set up, the same aim, "Go"
// at the given level. Gives the platform with the messages it recorded.
struct CoreTurn {
    modCapzel g;
    capzel::Field field;
    capzel::test::FakePlatform ui;
    GameContext ctx{g, field, ui};
    capzel::TurnController turn{ctx};
    std::size_t messagesBeforeShot = 0;

    CoreTurn(float aimX, float aimY, int goLevel) {
        ui.secondsPerYield = 1e-6;
        capzel::applyNewGame(ctx, twoPlayers());
        capzel::Start_Turn(ctx, 1);
        messagesBeforeShot = ui.messages.size();
        capzel::Form_MouseMove(ctx, capzel::kLeftButton, 0, aimX, aimY);
        ui.onYield = [&, goLevel] {
            if (g.Charging && g.Power == goLevel) turn.goClicked();
        };
        turn.mouseUp();
        capzel::test::drive(turn, ui);
        ui.onYield = nullptr;
    }
};

}  // namespace

class AimingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CapzelApp> app_;
    frmMain* w_ = nullptr;
    std::unique_ptr<capzel::test::BoxAnswerer> boxes_;
    QTimer watchdog_;

    modCapzel& g() { return app_->state(); }
    capzel::Board& board() { return w_->field().board; }
    capzel::Box& piece1() { return board().Player[1]; }
    QWidget* view() { return w_->view(); }

    // A move over the field at a pixel of the client area, with whole sets.
    void move(QPoint p, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), view()->mapToGlobal(QPointF(p)), Qt::NoButton, buttons, mods);
        QApplication::sendEvent(view(), &e);
    }
    // A left click on the field: the release starts the bar (and the shot),
    // which the window's clock runs to the end of the turn.
    void release(QPoint p) {
        QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, p);
        QTRY_VERIFY_WITH_TIMEOUT(!w_->turn().running(), 60000);
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }

    // A running game of two players; player 1's turn has been announced and
    // their piece stands centred on box 1 (centre 1580, 8420).
    void init() {
        app_ = std::make_unique<CapzelApp>();
        w_ = &app_->openMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(w_));
        boxes_ = std::make_unique<capzel::test::BoxAnswerer>();
        // A charge that "Go" cannot stop would run forever: closing the
        // window ends it, and the test then fails on what it finds.
        watchdog_.setSingleShot(true);
        watchdog_.callOnTimeout(this, [this] {
            if (app_ && app_->mainWindow()) app_->mainWindow()->close();
        });
        watchdog_.start(60000);
        GameContext ctx = w_->context();
        capzel::applyNewGame(ctx, twoPlayers());
        capzel::Start_Turn(ctx, 1);
        QCOMPARE(boxes_->messages(), QStringList{"Ann's turn start.  Target: 2"});
        boxes_->seen.clear();
        w_->refreshField();
        QCOMPARE(piece1().Left, 1430.0f);
        QCOMPARE(piece1().Top, 8270.0f);
    }
    void cleanup() {
        watchdog_.stop();
        boxes_.reset();
        app_.reset();
        w_ = nullptr;
    }

    // Real move events with whole button and shift sets: the left button
    // alone aims (whatever the shift keys), Shift alone with no button
    // places the piece.
    void buttonAndShiftSets_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("mods");
        QTest::addColumn<bool>("aims");
        QTest::addColumn<bool>("places");
        QTest::newRow("left alone") << int(Qt::LeftButton) << 0 << true << false;
        QTest::newRow("left with Shift") << int(Qt::LeftButton) << int(Qt::ShiftModifier) << true << false;
        QTest::newRow("left and right") << int(Qt::LeftButton | Qt::RightButton) << 0 << false << false;
        QTest::newRow("right alone") << int(Qt::RightButton) << 0 << false << false;
        QTest::newRow("Shift alone") << 0 << int(Qt::ShiftModifier) << false << true;
        QTest::newRow("Shift and Ctrl") << 0 << int(Qt::ShiftModifier | Qt::ControlModifier) << false << false;
        QTest::newRow("no button") << 0 << 0 << false << false;
    }
    void buttonAndShiftSets() {
        QFETCH(int, buttons);
        QFETCH(int, mods);
        QFETCH(bool, aims);
        QFETCH(bool, places);
        move(QPoint(100, 570), Qt::MouseButtons(buttons), Qt::KeyboardModifiers(mods));
        QCOMPARE(board().Pointer.Visible, aims);
        QCOMPARE(piece1().Left != 1430.0f || piece1().Top != 8270.0f, places);
        if (aims) {
            // The label: the piece's centre, the mouse, their difference.
            QCOMPARE(QString::fromStdString(board().Label1.Caption), QString("1580,8420\r\n1500,8550\r\n80,-130"));
        }
    }

    // Shift alone over the field places the piece, kept inside box 1 (Left
    // 1080, Top 7920, 1000 x 1000), and the picture follows the model.
    void handPlacementIsDrawn() {
        move(QPoint(0, 625), Qt::NoButton, Qt::ShiftModifier);  // far down-left
        QCOMPARE(piece1().Left, 1080.0f);
        QCOMPARE(piece1().Top, 8620.0f);
        const QImage img = view()->grab().toImage();
        const QColor c = img.pixelColor((1080 + 150) / kTwipsPerPixel, (8620 + 150) / kTwipsPerPixel);
        const capzel::Color fill = piece1().FillColor;
        QCOMPARE(c, QColor(capzel::redOf(fill), capzel::greenOf(fill), capzel::blueOf(fill)));
    }

    // A release without an aim: the bar charges, is painted and shows "Go";
    // the real "Go" button stops it, and the bar stays on screen (that no
    // shot is played is the core's PowerBar.GoWithoutAnAimPlaysNoShot).
    void releaseWithoutAimPaintsTheBar() {
        PaintCounter paints;
        view()->installEventFilter(&paints);
        int paintsWhileCharging = 0;
        bool goShown = false;
        Poller press([&] {
            if (!g().Charging || g().Power > 6000) return false;
            goShown = w_->view()->goButton()->isVisible();
            paintsWhileCharging = paints.paints;
            QTest::mouseClick(w_->view()->goButton(), Qt::LeftButton);
            return true;
        });
        release(QPoint(300, 300));
        QVERIFY(w_->isVisible());
        QVERIFY(goShown);
        QVERIFY2(paintsWhileCharging >= 2, "the field is repainted while the bar charges");
        QVERIFY(!g().Charging);
        QVERIFY(!w_->view()->goButton()->isVisible());
        // Its bottom row is blue.
        const capzel::Box& bar = board().picPower.box;
        const QImage img = view()->grab().toImage();
        QCOMPARE(img.pixelColor(int(bar.Left + bar.Width / 2) / kTwipsPerPixel,
                                int(bar.Top + bar.Height - 100) / kTwipsPerPixel),
                 QColor(0, 0, 255));
    }

    // Aim, release, "Go" during the charge, the shot, the rules' message.
    void fullTurn() {
        const QPoint aim(105, 600);  // (1575, 9000): below the piece, so it goes up
        move(aim, Qt::LeftButton);
        QVERIFY(board().Pointer.Visible);
        QCOMPARE(board().Pointer.X1, 1580.0f);  // from the piece's centre
        QCOMPARE(board().Pointer.Y2, 9000.0f);  // to the mouse, in twips

        app_->showStatus();
        capzel::ui::FrmStatus* status = app_->statusWindow();
        QVERIFY(status);
        PaintCounter paints;
        view()->installEventFilter(&paints);
        int levelAtGo = 0;
        int strength = -1;
        int paintsBeforeShot = 0;
        Poller press([&] {
            if (levelAtGo == 0 && g().Charging && g().Power <= 6000) {
                levelAtGo = g().Power;
                QTest::mouseClick(w_->view()->goButton(), Qt::LeftButton);
            }
            if (strength < 0 && g().ShotInProgress) {
                strength = g().Power;
                paintsBeforeShot = paints.paints;
            }
            return false;
        });
        release(aim);

        QVERIFY(w_->isVisible());
        QVERIFY(levelAtGo != 0);
        // A press lands within a tick: the fill may still reach the tick's
        // level before the loop sees that "Go" was pressed.
        const int atLevel = capzel::engine::strengthCurve(9390 - levelAtGo);
        const int aTickLater = capzel::engine::strengthCurve(9390 - (levelAtGo - 10));
        QVERIFY2(strength == atLevel || strength == aTickLater,
                 qPrintable(QString("strength %1 for Go at %2").arg(strength).arg(levelAtGo)));
        const int firedLevel = strength == atLevel ? levelAtGo : levelAtGo - 10;
        QVERIFY2(paints.paints > paintsBeforeShot + 10, "the shot is painted as it runs");

        // The turn is over and judged (the model at rest after a shot is the
        // core's PowerBar tests); the window's "Go" button is hidden again.
        QVERIFY(!g().ShotInProgress);
        QVERIFY(!w_->view()->goButton()->isVisible());
        QVERIFY(piece1().Top < 8270.0f);
        QVERIFY(!boxes_->seen.isEmpty());
        for (const auto& box : boxes_->seen) QCOMPARE(box.title, QString("Capzel"));

        // The same turn played by the core alone ends the same way.
        const CoreTurn core(float(aim.x() * kTwipsPerPixel), float(aim.y() * kTwipsPerPixel), firedLevel);
        QStringList coreMessages;
        for (std::size_t i = core.messagesBeforeShot; i < core.ui.messages.size(); ++i)
            coreMessages << QString::fromStdString(core.ui.messages[i]).replace("\r\n", "\n");
        QCOMPARE(boxes_->messages(), coreMessages);
        QCOMPARE(piece1().Left, core.field.board.Player[1].Left);
        QCOMPARE(piece1().Top, core.field.board.Player[1].Top);
        QCOMPARE(g().CurrentTurn, core.g.CurrentTurn);
        QCOMPARE(g().Score[1], core.g.Score[1]);

        // The status window, open throughout, shows the outcome.
        QTRY_COMPARE(status->cell(capzel::ui::FrmStatus::Score, 1)->text(), QString::number(g().Score[1]));
    }

    // A new main window replacing this one ends the charge running in it:
    // the release returns, and no shot is played.
    void replacedWindowEndsTheCharge() {
        move(QPoint(105, 600), Qt::LeftButton);
        QPointer<frmMain> old(w_);
        Poller replace([&] {
            if (!g().Charging || g().Power > 6000) return false;
            w_ = &app_->openMainWindow();
            return true;
        });
        release(QPoint(105, 600));
        QVERIFY(w_ != old.data());
        QVERIFY(!g().Charging);
        QVERIFY(!g().ShotInProgress);
        QCOMPARE(g().CurrentTurn, std::int16_t(1));
        QVERIFY(boxes_->seen.isEmpty());
        QTRY_VERIFY(old.isNull());  // deleted once back in the event loop
    }

    // During a loop the field is repainted only when the pieces, the bar or
    // the "Go" button changed since the last paint.
    void loopRepaintsOnlyChanges() {
        auto* v = w_->view();
        auto paintNow = [v] { v->repaint(); };
        paintNow();
        QVERIFY(!v->isStale());
        board().Label1.Caption = "changed by a command, repainted by it";
        QVERIFY(!v->isStale());
        const std::function<void()> changes[] = {
            [&] { piece1().Top -= 1; },
            [&] { board().Player[2].Visible = false; },
            [&] { board().picPower.drawRows(10, 20, 50, 430); },
            [&] { board().cmdGo.box.Visible = true; },
        };
        for (const auto& change : changes) {
            change();
            QVERIFY(v->isStale());
            paintNow();
            QVERIFY(!v->isStale());
        }
    }

    // The status command shows one window and brings it back to the front.
    void statusCommandShowsOneWindow() {
        QVERIFY(!app_->statusWindow());
        w_->menus().mnuGameStatus->trigger();
        QPointer<capzel::ui::FrmStatus> first(app_->statusWindow());
        QVERIFY(first);
        QVERIFY(QTest::qWaitForWindowExposed(first));
        QCOMPARE(first->cell(capzel::ui::FrmStatus::Name, 2)->text(), QString("Bob"));
        first->showMinimized();
        w_->menus().mnuGameStatus->trigger();
        QCOMPARE(app_->statusWindow(), first.data());
        QVERIFY(!first->isMinimized());
        const QWidgetList tops = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(tops.begin(), tops.end(),
                               [](QWidget* x) { return qobject_cast<capzel::ui::FrmStatus*>(x) != nullptr; }),
                 1);
        first->close();
        QTRY_VERIFY(first.isNull());
        QVERIFY(!app_->statusWindow());
        app_->showStatus();
        QVERIFY(app_->statusWindow());
        // The window goes with the application.
        QPointer<capzel::ui::FrmStatus> second(app_->statusWindow());
        app_.reset();
        QVERIFY(second.isNull());
        app_ = std::make_unique<CapzelApp>();
    }
};

CAPZEL_QT_TEST_MAIN(AimingTest)

#include "tst_aiming.moc"
