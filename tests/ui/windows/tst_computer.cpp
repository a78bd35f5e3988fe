// The computer in the main window: its turn, "Suggest Shot", closing while it thinks.
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "records/NewGame.h"
#include "rules/TurnStart.h"
#include "support/QtTestMain.h"
#include "app/App.h"
#include "ui/windows/ComputerPlay.h"
#include "ui/windows/FieldView.h"
#include "ui/windows/MainWindow.h"
#include "ui/desktop/QtPlatform.h"

using namespace capzel;

class ComputerPlayTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ui::CapzelApp> app_;
    ui::MainWindow* w_ = nullptr;
    QTimer watch_;      // a person at the board: OK on a box still open after 0.5 s
    QStringList clicked_;
    QElapsedTimer boxOpen_;

    void look() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return boxOpen_.invalidate();
        if (!boxOpen_.isValid()) boxOpen_.start();
        if (boxOpen_.elapsed() < 500) return;
        clicked_ << box->text();
        boxOpen_.invalidate();
        box->button(QMessageBox::Ok)->click();
    }

    // Ann and Bob in the given seats; Ann's turn starts.
    void start(PlayerKind ann, PlayerKind bob) {
        connect(&watch_, &QTimer::timeout, this, &ComputerPlayTest::look, Qt::UniqueConnection);
        watch_.start(2);
        clicked_.clear();
        app_ = std::make_unique<ui::CapzelApp>();
        w_ = &app_->openMainWindow();
        w_->platform().passingMessageMs = 100;
        NewGameSettings s;
        s.players = 2;
        s.names = {"", "Ann", "Bob"};
        s.seats = {PlayerKind::Human, ann, bob};
        GameContext ctx = w_->context();
        applyNewGame(ctx, s);
        startTurn(ctx, 1);
        app_->notifyStateChanged();
    }

private slots:
    void initTestCase() { test::quietOffscreenNotices(); }
    void cleanup() {
        watch_.stop();
        app_.reset();
    }

    void computersTurnOnScreen() {
        start(PlayerKind::Novice, PlayerKind::Human);
        QTest::mouseClick(w_->view(), Qt::LeftButton, Qt::NoModifier, QPoint(105, 480));
        QVERIFY(!w_->turn().running());  // no bar for the person on the computer's turn
        QTRY_VERIFY_WITH_TIMEOUT(!clicked_.isEmpty(), 60000);
        QVERIFY2(clicked_.first().startsWith("Bob's turn start"), qPrintable(clicked_.join('|')));
        QVERIFY(w_->state().shotsTaken >= 1);
    }

    void suggestionLeavesTheGameAlone() {
        start(PlayerKind::Human, PlayerKind::Expert);
        QAction* suggest = w_->menus().suggestShotAction;
        QTRY_VERIFY(suggest->isEnabled());
        const Field before = w_->field();
        suggest->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(w_->view()->suggestion().has_value(), 30000);
        QCOMPARE(w_->view()->suggestion()->x1, players::aimStartX(before.board.pieces[1]));
        for (int i = 1; i <= 2; ++i) QCOMPARE(w_->field().board.pieces[i].left, before.board.pieces[i].left);
        QVERIFY(!w_->turn().running() && !w_->field().board.pointer.visible && w_->state().currentTurn == 1);
        w_->state().gameRunning = false;
        app_->notifyStateChanged();
        QTRY_VERIFY(!w_->view()->suggestion() && !suggest->isEnabled());
    }

    void closingWhileTheComputerThinks() {
        start(PlayerKind::Expert, PlayerKind::Expert);
        QTRY_VERIFY(w_->computerPlay().turn() && w_->computerPlay().turn()->stage() == ComputerTurn::Stage::Thinking);
        w_->close();
        QVERIFY(!w_->computerPlay().turn()->running() && !w_->turn().running());
    }
};

CAPZEL_QT_TEST(ComputerPlayTest)

#include "tst_computer.moc"
