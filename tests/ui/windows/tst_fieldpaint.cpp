// What the field view paints and what it points at: the power bar's ticks
// repaint the bar alone, once a frame, and end on the model's last fill; a
// window closed during a replay draws its own field; the window's children
// and the status window go before the state they read.
#include <QAction>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QScreen>
#include <QtTest>
#include <memory>

#include "records/NewGame.h"
#include "rules/TurnStart.h"
#include "support/ModalAnswerer.h"
#include "support/QtTestMain.h"
#include "app/App.h"
#include "ui/windows/ComputerPlay.h"
#include "ui/windows/FieldView.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/StatusWindow.h"
#include "ui/windows/StepScheduler.h"
#include "ui/windows/Twips.h"

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

class FieldPaintTest : public QObject {
    Q_OBJECT

    std::unique_ptr<capzel::test::ModalAnswerer> boxes_;
    std::unique_ptr<capzel::ui::CapzelApp> app_;
    capzel::ui::MainWindow* w_ = nullptr;

    // Ann and Bob's game at Ann's turn, aimed, in a shown window.
    void open() {
        boxes_ = std::make_unique<capzel::test::ModalAnswerer>();
        app_ = std::make_unique<capzel::ui::CapzelApp>();
        w_ = &app_->openMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(w_));
        capzel::NewGameSettings s;
        s.players = 2;
        capzel::GameContext ctx = w_->context();
        capzel::applyNewGame(ctx, s);
        capzel::startTurn(ctx, 1);
        w_->field().board.pointer = {1580, 8420, 1500, 8900};
        w_->field().board.pointer.visible = true;
        w_->refreshField();
    }
    // Advances the charge until the bar has drawn one more row.
    void tick() {
        const int before = w_->field().board.powerBar.revision;
        while (w_->field().board.powerBar.revision == before) w_->turn().advance();
        w_->showProgress();
    }
    // What the window shows on screen (not a fresh rendering), at the view's place.
    QImage onScreen() {
        const QPoint at = w_->view()->mapTo(w_, QPoint(0, 0));
        const QSize size = w_->view()->size();
        return w_->screen()->grabWindow(w_->winId(), at.x(), at.y(), size.width(), size.height()).toImage();
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void cleanup() {
        boxes_.reset();
        app_.reset();
    }

    // Ticks repaint the bar's rectangle alone, the ticks of one frame once,
    // and the picture ends on the bar's last row.
    void barTicksRepaintTheBarOnceAFrame() {
        open();
        w_->turn().mouseUp();
        w_->showProgress();
        QTRY_VERIFY(!w_->view()->isStale());  // the bar shown, empty
        PaintLog log;
        w_->view()->installEventFilter(&log);
        const capzel::Box& box = w_->field().board.powerBar.box;
        const QRect bar = capzel::ui::pxRect(box.left, box.top, box.width, box.height).toAlignedRect();
        QElapsedTimer spent;
        spent.start();
        constexpr int kTicks = 40;
        for (int k = 0; k < kTicks; ++k) {
            tick();
            QCoreApplication::processEvents();
        }
        QTRY_VERIFY(!w_->view()->isStale());
        // Paints a frame apart at least, the last one included.
        const qint64 frames = spent.elapsed() * std::max(1, int(w_->screen()->refreshRate())) / 1000;
        QVERIFY2(log.regions.size() <= frames + 1,
                 qPrintable(QString("%1 paints for %2 ticks in %3 frames").arg(log.regions.size()).arg(kTicks).arg(frames)));
        for (const QRegion& r : log.regions) QCOMPARE(r, QRegion(bar));

        // The last row drawn is blue on screen, the row above the level white.
        const capzel::PowerBar& model = w_->field().board.powerBar;
        const QImage shown = onScreen();
        const int x = bar.center().x();
        int top = bar.bottom();
        for (const capzel::PowerBar::Span& s : model.drawn)
            top = std::min(top, int(std::floor(capzel::ui::px(double(model.box.top) + std::min(s.top, s.bottom)))));
        QCOMPARE(shown.pixelColor(x, top), QColor(0, 0, 255));
        QCOMPARE(shown.pixelColor(x, top - 2), QColor(Qt::white));
        QVERIFY(top - 2 > bar.top());
        w_->view()->removeEventFilter(&log);
    }

    // The replay's copy goes with the closed window; the view then draws
    // the window's own field, as a view of that field alone does.
    void aWindowClosedDuringAReplayDrawsItsOwnField() {
        open();
        w_->state().power = 1500;
        w_->turn().startShot();
        w_->scheduler().start();
        QTRY_VERIFY_WITH_TIMEOUT(!w_->turn().running(), 60000);
        w_->menus().replayAction->trigger();
        QCOMPARE(w_->turn().phase(), capzel::TurnPhase::Replaying);
        for (int k = 0; k < 30 && w_->turn().running(); ++k) w_->turn().advance();
        w_->close();
        QCoreApplication::processEvents();
        capzel::ui::FieldView own(w_->field(), nullptr);
        own.resize(w_->view()->size());
        QCOMPARE(w_->view()->grab().toImage(), own.grab().toImage());
    }

    // The view, the scheduler and the computer's play go while the window
    // is still whole (its field, turn and platform still there).
    void childrenGoBeforeTheWindowsMembers() {
        open();
        const QList<QObject*> users = {static_cast<QObject*>(w_->view()), &w_->scheduler(), &w_->computerPlay()};
        int goneWhole = 0;
        for (QObject* child : users)
            connect(child, &QObject::destroyed, this,
                    [&, window = static_cast<QObject*>(w_)] { goneWhole += qobject_cast<capzel::ui::MainWindow*>(window) != nullptr; });
        app_.reset();
        QCOMPARE(goneWhole, int(users.size()));
    }

    // The status window goes while the application (and its game state) is whole.
    void theStatusWindowGoesBeforeTheState() {
        open();
        app_->showStatus();
        QVERIFY(app_->statusWindow());
        bool goneWhole = false;
        connect(app_->statusWindow(), &QObject::destroyed, this,
                [&, app = static_cast<QObject*>(app_.get())] { goneWhole = qobject_cast<capzel::ui::CapzelApp*>(app) != nullptr; });
        app_.reset();
        QVERIFY(goneWhole);
    }
};

CAPZEL_QT_TEST(FieldPaintTest)
#include "tst_fieldpaint.moc"
