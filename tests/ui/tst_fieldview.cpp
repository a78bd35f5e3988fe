// What the field looks like: pixels of the main window's client area,
// drawn from the model (background, box outlines, walls, side lines,
// pieces, guide lines and their drawing order, aim line, power bar).
#include <QImage>
#include <QtTest>
#include <memory>

#include "support/QtTestMain.h"
#include "support/RecordingApp.h"
#include "ui/FieldBackground.h"
#include "ui/FieldView.h"
#include "ui/MainMenus.h"
#include "ui/frmMain.h"

using capzel::Board;
using capzel::rgb;
using capzel::test::RecordingApp;
using capzel::ui::frmMain;

namespace {
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kMagenta(255, 0, 255);
const QColor kBlue(0, 0, 255);
const QColor kDarkRed(192, 0, 0);
}  // namespace

class FieldViewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<RecordingApp> app_;
    frmMain* w_ = nullptr;

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
        return {int((b.Left + b.Width / 2) / 15), int((b.Top + b.Height / 2) / 15)};
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void init() {
        app_ = std::make_unique<RecordingApp>();
        w_ = &app_->openMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(w_));
    }
    void cleanup() { app_.reset(); }

    void fieldAsLaidOut_data() {
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("left margin") << QPoint(20, 300) << kBlack;
        QTest::newRow("open field") << QPoint(200, 400) << kBlack;
        QTest::newRow("inside box 3, off its number") << QPoint(80, 40) << kBlack;
        QTest::newRow("box 3, left edge") << QPoint(72, 50) << kWhite;
        QTest::newRow("box 3, top edge") << QPoint(100, 30) << kWhite;
        QTest::newRow("box 3, right edge") << QPoint(138, 50) << kWhite;
        QTest::newRow("right of box 3") << QPoint(140, 50) << kBlack;
        QTest::newRow("box 4, bottom edge") << QPoint(600, 594) << kWhite;
        QTest::newRow("below box 4") << QPoint(600, 595) << kBlack;
        QTest::newRow("box 13, left edge") << QPoint(323, 300) << kWhite;
        QTest::newRow("box A, top edge") << QPoint(350, 235) << kWhite;
        QTest::newRow("wall 1") << QPoint(356, 53) << kRed;
        QTest::newRow("wall 4") << QPoint(96, 311) << kRed;
        QTest::newRow("wall 9 in the right margin") << QPoint(720, 324) << kRed;
        QTest::newRow("left side line near the bottom") << QPoint(40, 620) << kWhite;
        QTest::newRow("right side line near the bottom") << QPoint(672, 620) << kWhite;
    }
    void fieldAsLaidOut() {
        QFETCH(QPoint, pixel);
        QFETCH(QColor, colour);
        const QImage img = shot();
        QCOMPARE(img.size(), QSize(730, 626));
        QCOMPARE(at(img, pixel.x(), pixel.y()), colour);
    }

    void octagonDiagonalsAreDrawn() {
        const QImage img = shot();
        // CenterLine 0 runs from (280, 278) to (323, 235): every step of it
        // has a white pixel within one pixel of the line.
        for (int x = 284; x <= 318; x += 2) {
            const int y = 278 - (x - 280);
            QVERIFY2(count(img, QRect(x - 1, y - 1, 3, 3), kWhite) > 0, qPrintable(QString::number(x)));
        }
    }

    void piecesTakeTheirPlayersColours() {
        // The colours as laid out, until the window is activated.
        board().Player[2].FillColor = rgb(255, 0, 0);
        board().Player[7].FillColor = rgb(0, 0, 255);
        QImage img = shot();
        QCOMPARE(at(img, 699, 37), kRed);
        QCOMPARE(at(img, 484, 72), kBlue);  // piece 7 lies on the field as laid out

        app_->state().PlayerColor[2] = rgb(0, 255, 0);
        w_->Form_Activate();
        img = shot();
        QCOMPARE(at(img, 699, 37), QColor(0, 255, 0));
        QCOMPARE(at(img, 484, 72), kBlack);  // player 7's colour: none set yet
    }

    void movedAndHiddenPiecesAndWalls() {
        board().Wall[5].Visible = false;
        board().Player[3].Left = 3000;
        board().Player[3].Top = 6000;
        board().Player[3].FillColor = rgb(255, 128, 0);
        board().Player[4].FillColor = rgb(255, 255, 0);
        board().Player[4].Visible = false;
        const QImage img = shot();
        QCOMPARE(at(img, centre(board().Player[3]).x(), centre(board().Player[3]).y()), QColor(255, 128, 0));
        QCOMPARE(at(img, 699, 58), kBlack);  // piece 3's old place
        QCOMPARE(at(img, centre(board().Player[4]).x(), centre(board().Player[4]).y()), kBlack);
        QCOMPARE(at(img, 502, 311), kBlack);  // wall 5
        QCOMPARE(at(img, 720, 324), kRed);    // wall 9 still there
    }

    void guideLinesAndTheDrawingOrder() {
        // Piece 1 centred on guide line 9 (y = 3345 twips = 223 px).
        board().Player[1].FillColor = rgb(0, 255, 0);
        board().Player[1].Left = 1350;
        board().Player[1].Top = 3345 - 150;
        QCOMPARE(at(shot(), 100, 223), QColor(0, 255, 0));

        w_->field().mnuGuideVisible = true;
        w_->syncMenus();
        w_->menus().mnuGuide->trigger();  // shows the lines and brings them to the front
        QImage img = shot();
        QCOMPARE(at(img, 100, 223), kMagenta);
        QCOMPARE(at(img, 52, 100), kMagenta);  // guide line 5, x = 780 twips

        board().bringToFront(board().Player[1]);
        QCOMPARE(at(shot(), 100, 223), QColor(0, 255, 0));
    }

    void aimLineIsDarkRedDashDotDot() {
        capzel::Line& p = board().Pointer;
        p.X1 = 5000;
        p.Y1 = 6000;
        p.X2 = 8000;
        p.Y2 = 6000;
        p.Visible = true;
        const QImage img = shot();
        const int red = count(img, QRect(334, 400, 198, 1), kDarkRed);
        QVERIFY2(red > 60, qPrintable(QString::number(red)));
        QVERIFY2(red < 190, "the line has gaps");
    }

    void powerBarShowsItsRows() {
        capzel::PowerBar& bar = board().picPower;
        QCOMPARE(at(shot(), 19, 250), kBlack);  // hidden as laid out
        bar.box.Visible = true;
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
        capzel::Label& l = board().Label1;
        l.Caption = "1234,5678\r\n9,9\r\n-1,-1";
        QCOMPARE(count(shot(), QRect(675, 225, 55, 49)), 0);
        l.box.Visible = true;
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
        capzel::modCapzel& g = app_->state();
        g.NumberOfPlayers = 2;
        g.recreatePerGameTables();
        g.GameRunning = true;
        g.CurrentTurn = 1;
        g.Position = {0, 1, 5};
        g.InGame = {false, true, true};
        g.IsKiller[1] = killer;
        g.ShotInProgress = shooting;
        capzel::Box& own = board().Player[1];
        capzel::Box& other = board().Player[2];
        own.FillColor = rgb(255, 255, 255);
        other.FillColor = rgb(255, 0, 0);
        own.Left = 2250, own.Top = 6750;
        other.Left = 6000, other.Top = 6750;
        if (hintsOff) w_->menus().mnuShowHints->trigger();
        QCOMPARE(w_->menus().mnuShowHints->isChecked(), !hintsOff);

        const QImage img = shot();
        auto yellow = [&img](const QRect& r) { return count(img, r, QColor(255, 255, 0)); };
        auto around = [](const capzel::Box& b) { return QRect(centre(b) - QPoint(18, 18), QSize(37, 37)); };
        const capzel::Box& box2 = board().Spot[2];
        const QRect target(int(box2.Left / 15), int(box2.Top / 15), int(box2.Width / 15), int(box2.Height / 15));
        QCOMPARE(yellow(around(own)) > 40, marks);
        QCOMPARE(yellow(target) > 40, marks && !killer);
        QCOMPARE(yellow(around(other)) > 20, marks && killer);
    }

    void backgroundIsSharpOnHighDensityScreens() {
        const QImage img = capzel::ui::renderFieldBackground(board(), QSize(730, 626), 2.0).toImage();
        QCOMPARE(img.size(), QSize(1460, 1252));
        // Box 3's left edge (72 px) is two device pixels wide.
        QCOMPARE(img.pixelColor(143, 100), kWhite);
        QCOMPARE(img.pixelColor(144, 100), kWhite);
        QCOMPARE(img.pixelColor(146, 100), kBlack);
    }
};

CAPZEL_QT_TEST_MAIN(FieldViewTest)
#include "tst_fieldview.moc"
