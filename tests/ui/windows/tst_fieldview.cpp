// The field drawn from the model: pieces and walls moved or hidden, the
// guide lines toggled and their drawing order, the power bar's rows, the
// aim label, and the hints between shots.
#include <QImage>
#include <QtTest>

#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "ui/MainMenus.h"

using capzel::rgb;

namespace {
const QColor kBlack(0, 0, 0), kWhite(255, 255, 255), kRed(255, 0, 0), kMagenta(255, 0, 255), kBlue(0, 0, 255),
    kGreen(0, 255, 0);
}  // namespace

class FieldViewTest : public QObject {
    Q_OBJECT

    capzel::test::WindowFixture f;

    QImage shot() {
        f.window().refreshField();
        return f.window().view()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QColor at(int x, int y) { return shot().pixelColor(x, y); }
    // The pixels of `r` in colour `c`, or light ones when `c` is invalid.
    static int count(const QImage& img, const QRect& r, const QColor& c = QColor()) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += c.isValid() ? img.pixelColor(x, y) == c : img.pixelColor(x, y).lightness() > 160;
        return n;
    }
    static QRect pixels(const capzel::Box& b) {
        return {int(b.left / 15), int(b.top / 15), int(b.width / 15), int(b.height / 15)};
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void init() { QVERIFY(f.open()); }
    void cleanup() { f.close(); }

    void movedAndHiddenPiecesAndWalls() {
        capzel::Board& b = f.board();
        b.walls[5].visible = false;
        b.pieces[3].left = 3000;
        b.pieces[3].top = 6000;
        b.pieces[3].fillColor = rgb(255, 128, 0);
        b.pieces[4].fillColor = rgb(255, 255, 0);
        b.pieces[4].visible = false;
        const QImage img = shot();
        QCOMPARE(img.pixelColor(pixels(b.pieces[3]).center()), QColor(255, 128, 0));
        QCOMPARE(img.pixelColor(699, 58), kBlack);  // piece 3's old place
        QCOMPARE(img.pixelColor(pixels(b.pieces[4]).center()), kBlack);
        QCOMPARE(img.pixelColor(502, 311), kBlack);  // wall 5
        QCOMPARE(img.pixelColor(720, 324), kRed);    // wall 9 still there
    }

    // Ctrl+G does nothing while its item is hidden; shown, it draws the
    // lines over the pieces until a piece comes to the front; the item
    // unticked hides them.
    void guideLinesAndTheDrawingOrder() {
        capzel::Box& piece = f.board().pieces[1];  // centred on guide line 9 (y = 223 px)
        piece.fillColor = rgb(0, 255, 0);
        piece.left = 1350;
        piece.top = 3345 - 150;
        f.key(Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(at(100, 223), kGreen);
        QCOMPARE(at(52, 100), kBlack);

        f.field().guideItemVisible = true;
        f.window().syncMenus();
        f.key(Qt::Key_G, Qt::ControlModifier);
        QVERIFY(f.window().menus().guideLinesAction->isChecked());
        QCOMPARE(at(100, 223), kMagenta);
        QCOMPARE(at(52, 100), kMagenta);  // guide line 5, x = 780 twips
        f.board().bringToFront(piece);
        QCOMPARE(at(100, 223), kGreen);
        f.window().menus().guideLinesAction->trigger();
        QCOMPARE(at(52, 100), kBlack);
    }

    void powerBarShowsItsRows() {
        capzel::PowerBar& bar = f.board().powerBar;
        QCOMPARE(at(19, 250), kBlack);  // hidden as laid out
        bar.box.visible = true;
        bar.drawRows(6000, 6010, 50, 430);
        const QImage img = shot();
        QCOMPARE(img.pixelColor(19, 250), kWhite);
        QCOMPARE(img.pixelColor(19, 584), kBlue);  // floor((2760 + 6000) / 15)
        QCOMPARE(img.pixelColor(4, 584), kWhite);  // left of x = 50 inside the bar
        QCOMPARE(img.pixelColor(19, 586), kWhite);
        bar.clear();
        QCOMPARE(at(19, 584), kWhite);
    }

    void labelShowsItsText() {
        capzel::Label& l = f.board().aimLabel;
        l.caption = "1234,5678\r\n9,9\r\n-1,-1";
        QCOMPARE(count(shot(), QRect(675, 225, 55, 49)), 0);
        l.box.visible = true;
        QVERIFY(count(shot(), QRect(675, 225, 55, 49)) > 20);
    }

    // Between shots the field rings the current player's piece in yellow and
    // outlines its next target, box 2; a killer's marks are rings around the
    // pieces it can take instead. "Show Hints" unticked, or a shot under
    // way: the classic field.
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
        capzel::GameState& g = f.state();
        g.numberOfPlayers = 2;
        g.recreatePerGameTables();
        g.gameRunning = true;
        g.currentTurn = 1;
        g.position = {0, 1, 5};
        g.inGame = {false, true, true};
        g.isKiller[1] = killer;
        g.shotInProgress = shooting;
        capzel::Box& own = f.board().pieces[1];
        capzel::Box& other = f.board().pieces[2];
        own.fillColor = rgb(255, 255, 255);
        other.fillColor = rgb(255, 0, 0);
        own.left = 2250, own.top = 6750;
        other.left = 6000, other.top = 6750;
        if (hintsOff) f.window().menus().showHintsAction->trigger();

        const QImage img = shot();
        auto yellow = [&img](const QRect& r) { return count(img, r, QColor(255, 255, 0)); };
        auto around = [](const capzel::Box& b) { return pixels(b).adjusted(-8, -8, 8, 8); };
        QCOMPARE(yellow(around(own)) > 40, marks);
        QCOMPARE(yellow(pixels(f.board().spots[2])) > 40, marks && !killer);
        QCOMPARE(yellow(around(other)) > 20, marks && killer);
    }
};

CAPZEL_QT_TEST(FieldViewTest)
#include "tst_fieldview.moc"
