// A turn from the mouse on the real main window: mouse events sent to the
// field drive the aim line, hand placement, the power bar and the shot; the
// "Go" button is pressed from a timer while the bar charges, and the rules'
// messages are answered like a player would. A played shot is compared with
// the same shot played by the core alone on a scripted platform.
#include <QLabel>
#include <QMessageBox>
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
#include "support/FakePlatform.h"
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

// Clicks OK on every message box that comes up, and keeps its text.
class BoxAnswerer : public QObject {
public:
    QStringList texts;
    QStringList titles;
    BoxAnswerer() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            texts << box->text();
            titles << box->windowTitle();
            if (QAbstractButton* ok = box->button(QMessageBox::Ok)) ok->click();
        });
        timer_.start();
    }

private:
    QTimer timer_;
};

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
    std::size_t messagesBeforeShot = 0;

    CoreTurn(float aimX, float aimY, int goLevel) {
        ui.secondsPerYield = 1e-6;
        capzel::applyNewGame(ctx, twoPlayers());
        capzel::Start_Turn(ctx, 1);
        messagesBeforeShot = ui.messages.size();
        capzel::Form_MouseMove(ctx, capzel::kLeftButton, 0, aimX, aimY);
        ui.onYield = [&, goLevel] {
            if (g.Charging && g.Power == goLevel) capzel::cmdGo_Click(ctx);
        };
        capzel::Form_MouseUp(ctx, 1, 0, aimX, aimY);
        ui.onYield = nullptr;
    }
};

}  // namespace

class AimingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CapzelApp> app_;
    frmMain* w_ = nullptr;
    std::unique_ptr<BoxAnswerer> boxes_;
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
    // A left click on the field: the release runs the bar (and the shot).
    void release(QPoint p) { QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, p); }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }

    // A running game of two players; player 1's turn has been announced and
    // their piece stands centred on box 1 (centre 1580, 8420).
    void init() {
        app_ = std::make_unique<CapzelApp>();
        w_ = &app_->openMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(w_));
        boxes_ = std::make_unique<BoxAnswerer>();
        // A charge that "Go" cannot stop would run forever: closing the
        // window ends it, and the test then fails on what it finds.
        watchdog_.setSingleShot(true);
        watchdog_.callOnTimeout(this, [this] {
            if (app_ && app_->mainWindow()) app_->mainWindow()->retire();
        });
        watchdog_.start(60000);
        GameContext ctx = w_->context();
        capzel::applyNewGame(ctx, twoPlayers());
        capzel::Start_Turn(ctx, 1);
        QCOMPARE(boxes_->texts, QStringList{"Ann's turn start.  Target: 2"});
        boxes_->texts.clear();
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

    void aimLineEndsAndLabel() {
        move(QPoint(100, 200), Qt::LeftButton);
        const capzel::Line& p = board().Pointer;
        QVERIFY(p.Visible);
        QCOMPARE(p.X1, 1580.0f);
        QCOMPARE(p.Y1, 8420.0f);
        QCOMPARE(p.X2, 1500.0f);
        QCOMPARE(p.Y2, 3000.0f);
        QCOMPARE(board().Label1.Caption, std::string("1580,8420\r\n1500,3000\r\n80,5420"));
        // Over the field picture: picture point (150, 300) is window point
        // (Image1.Left + 150, 300).
        const capzel::Box& image = board().Image1;
        move(QPoint(int(image.Left) / kTwipsPerPixel + 10, 20), Qt::LeftButton);
        QCOMPARE(p.X2, image.Left + 150);
        QCOMPARE(p.Y2, image.Top + 300);
        QCOMPARE(board().Label1.Caption, std::string("1580,8420\r\n735,300\r\n845,8120"));
    }

    void buttonAndShiftSetsAreWhole_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("aims");
        QTest::addColumn<bool>("places");
        const int L = Qt::LeftButton, R = Qt::RightButton, M = Qt::MiddleButton;
        const int S = Qt::ShiftModifier, C = Qt::ControlModifier, A = Qt::AltModifier;
        QTest::newRow("left alone") << L << 0 << true << false;
        QTest::newRow("left with Shift") << L << S << true << false;
        QTest::newRow("left and right") << (L | R) << 0 << false << false;
        QTest::newRow("left and middle") << (L | M) << 0 << false << false;
        QTest::newRow("right") << R << 0 << false << false;
        QTest::newRow("middle with Shift") << M << S << false << false;
        QTest::newRow("Shift alone") << 0 << S << false << true;
        QTest::newRow("Shift and Ctrl") << 0 << (S | C) << false << false;
        QTest::newRow("Shift and Alt") << 0 << (S | A) << false << false;
        QTest::newRow("Ctrl alone") << 0 << C << false << false;
        QTest::newRow("nothing") << 0 << 0 << false << false;
    }
    void buttonAndShiftSetsAreWhole() {
        QFETCH(int, buttons);
        QFETCH(int, modifiers);
        QFETCH(bool, aims);
        QFETCH(bool, places);
        move(QPoint(110, 560), Qt::MouseButtons(buttons), Qt::KeyboardModifiers(modifiers));  // (1650, 8400)
        QCOMPARE(board().Pointer.Visible, aims);
        QCOMPARE(piece1().Left, places ? 1500.0f : 1430.0f);
        QCOMPARE(piece1().Top, places ? 8250.0f : 8270.0f);
    }

    void handPlacementIsClampedToTheBox() {
        // Box 1: Left 1080, Top 7920, 1000 x 1000; the piece is 300 across.
        move(QPoint(300, 560), Qt::NoButton, Qt::ShiftModifier);  // far right
        QCOMPARE(piece1().Left, 1780.0f);
        QCOMPARE(piece1().Top, 8250.0f);
        move(QPoint(0, 625), Qt::NoButton, Qt::ShiftModifier);  // far down-left
        QCOMPARE(piece1().Left, 1080.0f);
        QCOMPARE(piece1().Top, 8620.0f);
        // The picture follows the model.
        const QImage img = view()->grab().toImage();
        const QColor c = img.pixelColor((1080 + 150) / kTwipsPerPixel, (8620 + 150) / kTwipsPerPixel);
        const capzel::Color fill = piece1().FillColor;
        QCOMPARE(c, QColor(capzel::redOf(fill), capzel::greenOf(fill), capzel::blueOf(fill)));
    }

    void handPlacementRefused() {
        for (int k = 0; k < 2; ++k) {
            g().MoveableNextTurn[1] = k != 0;
            g().ShotInProgress = k != 0;  // moveable, but a shot runs
            move(QPoint(110, 560), Qt::NoButton, Qt::ShiftModifier);
            QCOMPARE(piece1().Left, 1430.0f);
            QCOMPARE(piece1().Top, 8270.0f);
        }
        g().ShotInProgress = false;
    }

    // A release without an aim: the bar charges and is painted; "Go" plays
    // no shot and leaves the bar as drawn.
    void releaseWithoutAimPlaysNoShot() {
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
        QVERIFY(!w_->isClosing());
        QVERIFY(goShown);
        QVERIFY(!board().cmdGo.box.Visible);
        QVERIFY2(paintsWhileCharging >= 2, "the field is repainted while the bar charges");
        QVERIFY(!g().Charging);
        QVERIFY(!g().ShotInProgress);
        QVERIFY(board().picPower.box.Visible);
        QVERIFY(!board().picPower.drawn.empty());
        QVERIFY(!w_->view()->goButton()->isVisible());
        QCOMPARE(piece1().Left, 1430.0f);
        QCOMPARE(g().CurrentTurn, std::int16_t(1));
        QVERIFY(boxes_->texts.isEmpty());
        // The bar is on screen: its bottom row is blue.
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

        app_->showStatus();
        capzel::ui::FrmStatus* status = app_->statusWindow();
        QVERIFY(status);
        PaintCounter paints;
        view()->installEventFilter(&paints);
        int levelAtGo = 0;
        int strength = -1;
        int paintsBeforeShot = 0;
        QString scoreDuringShot;
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

        QVERIFY(!w_->isClosing());
        QVERIFY(levelAtGo != 0);
        // A press lands within a tick: the fill may still reach the tick's
        // level before the loop sees that "Go" was pressed.
        const int atLevel = capzel::engine::strengthCurve(9390 - levelAtGo);
        const int aTickLater = capzel::engine::strengthCurve(9390 - (levelAtGo - 10));
        QVERIFY2(strength == atLevel || strength == aTickLater,
                 qPrintable(QString("strength %1 for Go at %2").arg(strength).arg(levelAtGo)));
        const int firedLevel = strength == atLevel ? levelAtGo : levelAtGo - 10;
        QVERIFY2(paints.paints > paintsBeforeShot + 10, "the shot is painted as it runs");

        // The turn is over and judged; the window is back at rest.
        QVERIFY(!g().Charging);
        QVERIFY(!g().ShotInProgress);
        QCOMPARE(g().Power, std::int16_t(0));
        QVERIFY(!board().picPower.box.Visible);
        QVERIFY(!board().Pointer.Visible);
        QVERIFY(!w_->view()->goButton()->isVisible());
        QVERIFY(piece1().Top < 8270.0f);
        QVERIFY(!boxes_->texts.isEmpty());
        for (const QString& t : boxes_->titles) QCOMPARE(t, QString("Capzel"));

        // The same turn played by the core alone ends the same way.
        const CoreTurn core(float(aim.x() * kTwipsPerPixel), float(aim.y() * kTwipsPerPixel), firedLevel);
        QStringList coreMessages;
        for (std::size_t i = core.messagesBeforeShot; i < core.ui.messages.size(); ++i)
            coreMessages << QString::fromStdString(core.ui.messages[i]).replace("\r\n", "\n");
        QCOMPARE(boxes_->texts, coreMessages);
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
        QVERIFY(boxes_->texts.isEmpty());
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
