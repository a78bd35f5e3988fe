// A game played in the main window: the power bar's paints, shots at normal
// pace, fast and replayed, the computer's turns and suggestions, and what
// goes first when the windows close.
#include <QAction>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QScreen>

#include "players/PlannedShot.h"
#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "ui/windows/ComputerPlay.h"
#include "ui/windows/StatusWindow.h"
#include "ui/windows/Twips.h"

using capzel::PlayerKind;
using capzel::TurnPhase;

namespace {

// The paints a widget receives, with the region of each.
class PaintLog : public QObject {
public:
    QList<QRegion> regions;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) regions.append(static_cast<QPaintEvent*>(e)->region());
        return false;
    }
};

}  // namespace

class PlayTest : public QObject {
    Q_OBJECT

    capzel::test::WindowFixture f;

    capzel::ui::MainWindow& w() { return f.window(); }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void init() { QVERIFY(f.open()); }
    void cleanup() { f.close(); }

    // Ticks repaint the bar's rectangle alone, the ticks of one frame once,
    // and the picture on screen ends on the bar's last row.
    void barTicksRepaintTheBarOnceAFrame() {
        f.play();
        capzel::test::aim(w());
        w().turn().mouseUp();
        w().showProgress();
        QTRY_VERIFY(!w().view()->isStale());  // the bar shown, empty
        PaintLog log;
        w().view()->installEventFilter(&log);
        const capzel::PowerBar& model = w().turn().controls().powerBar;
        const QRect bar = capzel::ui::pxRect(model.box.left, model.box.top, model.box.width, model.box.height).toAlignedRect();
        QElapsedTimer spent;
        spent.start();
        constexpr int kTicks = 40;
        for (int k = 0; k < kTicks; ++k) {
            for (const int before = model.revision; model.revision == before;) w().turn().advance();
            w().showProgress();
            QCoreApplication::processEvents();
        }
        QTRY_VERIFY(!w().view()->isStale());
        // Paints a frame apart at least, the last one included.
        const qint64 frames = spent.elapsed() * std::max(1, int(w().screen()->refreshRate())) / 1000;
        QVERIFY2(log.regions.size() <= frames + 1,
                 qPrintable(QString("%1 paints for %2 ticks in %3 frames").arg(log.regions.size()).arg(kTicks).arg(frames)));
        for (const QRegion& r : log.regions) QCOMPARE(r, QRegion(bar));
        w().view()->removeEventFilter(&log);

        // What the window shows on screen (not a fresh rendering): the last
        // row drawn is blue, the row above the level white.
        const QPoint at = w().view()->mapTo(&w(), QPoint(0, 0));
        const QImage shown =
            w().screen()->grabWindow(w().winId(), at.x(), at.y(), w().view()->width(), w().view()->height()).toImage();
        int top = bar.bottom();
        for (const capzel::PowerBar::Span& s : model.drawn)
            top = std::min(top, int(std::floor(capzel::ui::px(double(model.box.top) + std::min(s.top, s.bottom)))));
        QCOMPARE(shown.pixelColor(bar.center().x(), top), QColor(0, 0, 255));
        QCOMPARE(shown.pixelColor(bar.center().x(), top - 2), QColor(Qt::white));
        QVERIFY(top - 2 > bar.top());
    }

    // New during a charge or a shot: the window goes with its run, and the
    // next game starts afresh.
    void newDuringARun() {
        for (TurnPhase during : {TurnPhase::Charging, TurnPhase::Shooting}) {
            f.play();
            capzel::test::aim(w());
            w().turn().mouseUp();
            if (during == TurnPhase::Shooting) w().turn().goClicked();
            w().scheduler().start();
            QTRY_COMPARE(w().turn().phase(), during);
            QPointer<capzel::ui::MainWindow> old(&w());
            f.modals->answers = {"Yes"};
            QVERIFY(f.startGame({"Cy", "Di"}));
            QTRY_VERIFY(old.isNull());
            QCOMPARE(f.modals->messages().constLast(), QStringLiteral("Cy's turn start.  Target: 2"));
            QVERIFY(!w().turn().running() && f.state().position[1] == 1);
        }
    }

    // Undone and played fast, then replayed: the pieces end as at normal pace.
    // A window closed during a replay then draws its own field, as a view of
    // that field alone does: the replay's copy went with it.
    void fastForwardAndReplay() {
        f.modals->answers = {"Yes"};
        f.play();
        capzel::test::aim(w());
        QVERIFY(capzel::test::shoot(w()));
        const auto normal = f.board().pieces;
        w().menus().undoAction->trigger();
        QCOMPARE(f.state().currentTurn, std::int16_t(1));
        f.board().pointer.visible = true;
        w().menus().fastForwardAction->trigger();
        QVERIFY(w().scheduler().fast());
        QVERIFY(capzel::test::shoot(w()));
        w().menus().replayAction->trigger();
        QCOMPARE(w().turn().phase(), TurnPhase::Replaying);
        QVERIFY(!w().menus().undoAction->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!w().turn().running(), 60000);
        QVERIFY(w().menus().undoAction->isEnabled());
        for (int i = 1; i <= 2; ++i)
            QCOMPARE(std::pair(f.board().pieces[i].left, f.board().pieces[i].top), std::pair(normal[i].left, normal[i].top));

        capzel::ui::MainWindow& closed = w();
        closed.menus().replayAction->trigger();
        for (int k = 0; k < 30; ++k) closed.turn().advance();
        QCOMPARE(closed.turn().phase(), TurnPhase::Replaying);
        closed.close();
        QCoreApplication::processEvents();
        capzel::ui::FieldView own(closed.field(), closed.turn(), nullptr);
        own.resize(closed.view()->size());
        QCOMPARE(closed.view()->grab().toImage(), own.grab().toImage());
    }

    // The computer plays its turn with no bar for the person; its messages pass
    // by themselves (a person answers a box still open after 0.5 s) until the
    // person's turn starts.
    void computersTurnOnScreen() {
        f.platform().passingMessageMs = 100;
        f.modals->holdBoxes = [box = QPointer<QWidget>(), open = QElapsedTimer()]() mutable {
            if (box != QApplication::activeModalWidget()) box = QApplication::activeModalWidget(), open.start();
            return open.elapsed() < 500;
        };
        f.play(PlayerKind::Novice, PlayerKind::Human);
        QTest::mouseClick(w().view(), Qt::LeftButton, Qt::NoModifier, QPoint(105, 480));
        QVERIFY(!w().turn().running());
        QTRY_VERIFY_WITH_TIMEOUT(!f.modals->messages().isEmpty(), 60000);
        QVERIFY2(f.modals->messages().first().startsWith("Bob's turn start"), qPrintable(f.modals->messages().join('|')));
        QVERIFY(f.state().shotsTaken >= 1);
    }

    // Suggest Shot draws the computer's aim and changes nothing of the game.
    void suggestionLeavesTheGameAlone() {
        f.play(PlayerKind::Human, PlayerKind::Expert);
        QAction* suggest = w().menus().suggestShotAction;
        QTRY_VERIFY(suggest->isEnabled());
        const capzel::Field before = f.field();
        suggest->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(w().view()->suggestion().has_value(), 30000);
        QCOMPARE(w().view()->suggestion()->x1, capzel::players::aimStartX(before.board.pieces[1]));
        for (int i = 1; i <= 2; ++i) QCOMPARE(f.board().pieces[i].left, before.board.pieces[i].left);
        QVERIFY(!w().turn().running() && !f.board().pointer.visible && f.state().currentTurn == 1);
        f.state().gameRunning = false;
        f.app->notifyStateChanged();
        QTRY_VERIFY(!w().view()->suggestion() && !suggest->isEnabled());
    }

    void closingWhileTheComputerThinks() {
        f.play(PlayerKind::Expert, PlayerKind::Expert);
        capzel::ui::MainWindow& closed = w();
        QTRY_VERIFY(closed.computerPlay().turn() && closed.computerPlay().turn()->stage() == capzel::ComputerTurn::Stage::Thinking);
        closed.menus().exitAction->trigger();  // File > Exit: every window closes
        const capzel::ComputerTurn* thinking = f.app->session().computerTurn();
        QVERIFY(thinking && !thinking->running() && !closed.turn().running());
    }

    // The view, the scheduler and the computer's play go while the window is
    // whole (its field, turn and platform still there); the status window
    // while the application and its game state are.
    void windowsGoBeforeWhatTheyRead() {
        f.play();
        f.key(Qt::Key_S, Qt::ControlModifier);  // Game Status
        QVERIFY(f.app->statusWindow());
        const QList<QObject*> users = {static_cast<QObject*>(w().view()), &w().scheduler(), &w().computerPlay()};
        int goneWhole = 0;
        for (QObject* child : users)
            connect(child, &QObject::destroyed, this,
                    [&, window = static_cast<QObject*>(&w())] { goneWhole += qobject_cast<capzel::ui::MainWindow*>(window) != nullptr; });
        connect(f.app->statusWindow(), &QObject::destroyed, this,
                [&, app = static_cast<QObject*>(f.app.get())] { goneWhole += qobject_cast<capzel::ui::CapzelApp*>(app) != nullptr; });
        f.app.reset();
        QCOMPARE(goneWhole, int(users.size()) + 1);
    }
};

CAPZEL_QT_TEST(PlayTest)
#include "tst_play.moc"
