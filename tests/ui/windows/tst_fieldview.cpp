// The field drawn from the model: pieces and walls moved or hidden, guide
// lines and their drawing order, the power bar's rows and the label.
#include <QImage>
#include <QtTest>
#include <memory>

#include "support/QtTestMain.h"
#include "support/RecordingApp.h"
#include "ui/FieldBackground.h"
#include "ui/FieldView.h"
#include "ui/MainMenus.h"
#include "ui/MainWindow.h"

using capzel::Board;
using capzel::rgb;
using capzel::test::RecordingApp;
using capzel::ui::MainWindow;

namespace {
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kMagenta(255, 0, 255);
const QColor kBlue(0, 0, 255);
}  // namespace

class FieldViewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<RecordingApp> app_;
    MainWindow* w_ = nullptr;

    Board& board() { return w_->field().board; }
    QImage shot() {
        w_->refreshField();
        return w_->view()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    static QColor at(const QImage& img, int x, int y) { return img.pixelColor(x, y); }
    // The pixels of `r` in colour `c`, or light ones when `c` is invalid.
    static int count(const QImage& img, const QRect& r, const QColor& c = QColor()) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += c.isValid() ? img.pixelColor(x, y) == c : img.pixelColor(x, y).lightness() > 160;
        return n;
    }
    static QPoint centre(const capzel::Box& b) {
        return {int((b.left + b.width / 2) / 15), int((b.top + b.height / 2) / 15)};
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void init() {
        app_ = std::make_unique<RecordingApp>();
        w_ = &app_->openMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(w_));
    }
    void cleanup() { app_.reset(); }

    void movedAndHiddenPiecesAndWalls() {
        board().walls[5].visible = false;
        board().pieces[3].left = 3000;
        board().pieces[3].top = 6000;
        board().pieces[3].fillColor = rgb(255, 128, 0);
        board().pieces[4].fillColor = rgb(255, 255, 0);
        board().pieces[4].visible = false;
        const QImage img = shot();
        QCOMPARE(at(img, centre(board().pieces[3]).x(), centre(board().pieces[3]).y()), QColor(255, 128, 0));
        QCOMPARE(at(img, 699, 58), kBlack);  // piece 3's old place
        QCOMPARE(at(img, centre(board().pieces[4]).x(), centre(board().pieces[4]).y()), kBlack);
        QCOMPARE(at(img, 502, 311), kBlack);  // wall 5
        QCOMPARE(at(img, 720, 324), kRed);    // wall 9 still there
    }

    void guideLinesAndTheDrawingOrder() {
        // Piece 1 centred on guide line 9 (y = 3345 twips = 223 px).
        board().pieces[1].fillColor = rgb(0, 255, 0);
        board().pieces[1].left = 1350;
        board().pieces[1].top = 3345 - 150;
        QCOMPARE(at(shot(), 100, 223), QColor(0, 255, 0));

        w_->field().guideItemVisible = true;
        w_->syncMenus();
        w_->menus().guideLinesAction->trigger();  // shows the lines and brings them to the front
        QImage img = shot();
        QCOMPARE(at(img, 100, 223), kMagenta);
        QCOMPARE(at(img, 52, 100), kMagenta);  // guide line 5, x = 780 twips

        board().bringToFront(board().pieces[1]);
        QCOMPARE(at(shot(), 100, 223), QColor(0, 255, 0));
    }

    void powerBarShowsItsRows() {
        capzel::PowerBar& bar = board().powerBar;
        QCOMPARE(at(shot(), 19, 250), kBlack);  // hidden as laid out
        bar.box.visible = true;
        bar.drawRows(6000, 6010, 50, 430);
        const QImage img = shot();
        QCOMPARE(at(img, 19, 250), kWhite);
        QCOMPARE(at(img, 19, 584), kBlue);       // floor((2760 + 6000) / 15)
        QCOMPARE(at(img, 4, 584), kWhite);       // left of x = 50 inside the bar
        QCOMPARE(at(img, 19, 586), kWhite);
        bar.clear();
        QCOMPARE(at(shot(), 19, 584), kWhite);
    }

    void labelShowsItsText() {
        capzel::Label& l = board().aimLabel;
        l.caption = "1234,5678\r\n9,9\r\n-1,-1";
        QCOMPARE(count(shot(), QRect(675, 225, 55, 49)), 0);
        l.box.visible = true;
        QVERIFY(count(shot(), QRect(675, 225, 55, 49)) > 20);
    }

    // Between shots the field rings the current player's white piece in
    // yellow and outlines its next target, box 2; a killer's marks are
    // rings around the pieces it can take instead of a target. "Show
    // Hints" unticked, or a shot under way: the classic field.
    void hintsBetweenShots_data() {
        QTest::addColumn<bool>("killer");
        QTest::addColumn<bool>("shooting");
        QTest::addColumn<bool>("hintsOff");
        QTest::addColumn<bool>("marks");
        QTest::newRow("the player and the target") << false << false << false << true;
        QTest::newRow("a killer and its prey") << true << false << false << true;
        QTest::newRow("a shot under way") << false << true << false << false;
        QTest::newRow("Show Hints unticked") << false << false << true << false;
    }
    void hintsBetweenShots() {
        QFETCH(bool, killer);
        QFETCH(bool, shooting);
        QFETCH(bool, hintsOff);
        QFETCH(bool, marks);
        capzel::GameState& g = app_->state();
        g.numberOfPlayers = 2;
        g.recreatePerGameTables();
        g.gameRunning = true;
        g.currentTurn = 1;
        g.position = {0, 1, 5};
        g.inGame = {false, true, true};
        g.isKiller[1] = killer;
        g.shotInProgress = shooting;
        capzel::Box& own = board().pieces[1];
        capzel::Box& other = board().pieces[2];
        own.fillColor = rgb(255, 255, 255);
        other.fillColor = rgb(255, 0, 0);
        own.left = 2250, own.top = 6750;
        other.left = 6000, other.top = 6750;
        if (hintsOff) w_->menus().showHintsAction->trigger();
        QCOMPARE(w_->menus().showHintsAction->isChecked(), !hintsOff);

        const QImage img = shot();
        auto yellow = [&img](const QRect& r) { return count(img, r, QColor(255, 255, 0)); };
        auto around = [](const capzel::Box& b) { return QRect(centre(b) - QPoint(18, 18), QSize(37, 37)); };
        const capzel::Box& box2 = board().spots[2];
        const QRect target(int(box2.left / 15), int(box2.top / 15), int(box2.width / 15), int(box2.height / 15));
        QCOMPARE(yellow(around(own)) > 40, marks);
        QCOMPARE(yellow(target) > 40, marks && !killer);
        QCOMPARE(yellow(around(other)) > 20, marks && killer);
    }
};

CAPZEL_QT_TEST(FieldViewTest)
#include "tst_fieldview.moc"
