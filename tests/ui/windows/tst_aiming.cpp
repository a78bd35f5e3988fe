// Mouse events on the real main window's field: which sets of buttons and
// shift keys aim or place the piece, and the field drawing the placed piece.
// A whole turn with "Go" is played in a real window by the end-to-end test.
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "records/NewGame.h"
#include "rules/TurnStart.h"
#include "support/BoxAnswerer.h"
#include "support/QtTestMain.h"
#include "ui/App.h"
#include "ui/FieldView.h"
#include "ui/MainWindow.h"

using capzel::GameContext;
using capzel::GameState;
using capzel::ui::CapzelApp;
using capzel::ui::MainWindow;

namespace {

constexpr int kTwipsPerPixel = 15;

capzel::NewGameSettings twoPlayers() {
    capzel::NewGameSettings s;
    s.players = 2;
    s.names[1] = "Ann";
    s.names[2] = "Bob";
    return s;
}

}  // namespace

class AimingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CapzelApp> app_;
    MainWindow* w_ = nullptr;
    std::unique_ptr<capzel::test::BoxAnswerer> boxes_;

    capzel::Board& board() { return w_->field().board; }
    capzel::Box& piece1() { return board().pieces[1]; }
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
        GameContext ctx = w_->context();
        capzel::applyNewGame(ctx, twoPlayers());
        capzel::startTurn(ctx, 1);
        QCOMPARE(boxes_->messages(), QStringList{"Ann's turn start.  Target: 2"});
        boxes_->seen.clear();
        w_->refreshField();
        QCOMPARE(piece1().left, 1430.0f);
        QCOMPARE(piece1().top, 8270.0f);
    }
    void cleanup() {
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
        QCOMPARE(board().pointer.visible, aims);
        QCOMPARE(piece1().left != 1430.0f || piece1().top != 8270.0f, places);
        if (aims) {
            // The label: the piece's centre, the mouse, their difference.
            QCOMPARE(QString::fromStdString(board().aimLabel.caption), QString("1580,8420\r\n1500,8550\r\n80,-130"));
        }
    }

    // Shift alone over the field places the piece, kept inside box 1 (Left
    // 1080, Top 7920, 1000 x 1000), and the picture follows the model.
    void handPlacementIsDrawn() {
        move(QPoint(0, 625), Qt::NoButton, Qt::ShiftModifier);  // far down-left
        QCOMPARE(piece1().left, 1080.0f);
        QCOMPARE(piece1().top, 8620.0f);
        const QImage img = view()->grab().toImage();
        const QColor c = img.pixelColor((1080 + 150) / kTwipsPerPixel, (8620 + 150) / kTwipsPerPixel);
        const capzel::Color fill = piece1().fillColor;
        QCOMPARE(c, QColor(capzel::redOf(fill), capzel::greenOf(fill), capzel::blueOf(fill)));
    }
};

CAPZEL_QT_TEST(AimingTest)

#include "tst_aiming.moc"
