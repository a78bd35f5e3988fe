// The status window: its cells for the positions along the course, the row
// highlight, the rows and height following the number of players, the
// mouse routing, and that an idle refresh repaints nothing. Its place at
// the bottom right for a new game is checked in tst_newgame.
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QtTest>

#include "model/GameState.h"
#include "support/QtTestMain.h"
#include "ui/FrmStatus.h"
#include "ui/Twips.h"

using capzel::Color;
using capzel::rgb;
using capzel::ui::FrmStatus;
using capzel::ui::ipx;

namespace {

capzel::modCapzel gameOf(int players) {
    capzel::modCapzel g;
    g.NumberOfPlayers = std::int16_t(players);
    g.CurrentTurn = 1;
    g.GameRunning = true;
    g.recreatePerGameTables();
    const Color colors[] = {rgb(255, 0, 0), rgb(0, 0, 255), rgb(0, 255, 0), rgb(255, 255, 0),
                            rgb(255, 0, 255), rgb(0, 255, 255), rgb(128, 64, 32), rgb(0, 0, 0)};
    for (int i = 1; i <= 8; ++i) {
        g.PlayerName[i] = "Player " + std::to_string(i);
        g.PlayerColor[i] = colors[i - 1];
        g.Score[i] = 200 + (i - 1) * 10;
    }
    return g;
}

Color labelColor(const QLabel* label) {
    const QColor c = label->palette().color(QPalette::WindowText);
    return rgb(c.red(), c.green(), c.blue());
}

// Every cell of the row and its rule carry the same colour.
void expectRowColor(const FrmStatus& w, int row, Color c) {
    for (int col = 0; col < FrmStatus::ColumnCount; ++col)
        QCOMPARE(labelColor(w.cell(FrmStatus::Column(col), row)), c);
    QCOMPARE(w.rowColor(row), c);
}

Color highlightOf(Color c) { return 0xFFFFFF - c; }

QString text(const FrmStatus& w, FrmStatus::Column c, int row) { return w.cell(c, row)->text(); }

// Counts paints of a window and its children.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint || e->type() == QEvent::LayoutRequest) ++paints;
        return false;
    }
};

}  // namespace

class TestStatus : public QObject {
    Q_OBJECT

    // Shows the window and refreshes it once.
    static void showRefreshed(FrmStatus& w) {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.tmrRefresh_Timer();
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }

    void layoutAsDesigned() {
        capzel::modCapzel g = gameOf(8);
        auto* w = new FrmStatus(g);
        QPointer<FrmStatus> guard(w);
        QCOMPARE(w->windowTitle(), QString("Game Status"));
        QCOMPARE(w->width(), ipx(4680));
        QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w->windowFlags() & Qt::WindowMinimizeButtonHint);
        // Row i's cells sit at Top = 240 + 240 i.
        QCOMPARE(w->cell(FrmStatus::Name, 1)->y(), ipx(480));
        QCOMPARE(w->cell(FrmStatus::Score, 8)->y(), ipx(2160));
        QCOMPARE(w->cell(FrmStatus::Name, 3)->x(), ipx(480));
        showRefreshed(*w);
        // Background black, the header rule white, row 1's rule in player 1's red.
        const QImage img = w->grab().toImage();
        QCOMPARE(img.pixelColor(300, 100), QColor(Qt::black));
        QCOMPARE(img.pixelColor(150, ipx(480)), QColor(Qt::white));
        QCOMPARE(img.pixelColor(150, ipx(480) + 1), QColor(Qt::white));
        QCOMPARE(img.pixelColor(150, ipx(720)), QColor(255, 0, 0));
        QCOMPARE(img.pixelColor(ipx(1920), ipx(1000)), QColor(Qt::white));  // sepVert 1
        w->close();
        QTRY_VERIFY(guard.isNull());  // closing destroys it
    }

    void cellsAlongTheCourse_data() {
        QTest::addColumn<QList<int>>("positions");  // refreshed in turn
        QTest::addColumn<bool>("killer");           // IsKiller at the last one
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("direction");
        QTest::newRow("0 in the holder") << QList<int>{0} << false << "0" << "Forward";
        QTest::newRow("13 centre") << QList<int>{13} << false << "13" << "Forward";
        QTest::newRow("14 back down") << QList<int>{14} << false << "12" << "Backward";
        QTest::newRow("24") << QList<int>{24} << false << "2" << "Backward";
        QTest::newRow("25 after 24 keeps Backward") << QList<int>{24, 25} << false << "1" << "Backward";
        QTest::newRow("25 after 13 keeps Forward") << QList<int>{13, 25} << false << "1" << "Forward";
        QTest::newRow("25 on a new window keeps the laid-out text") << QList<int>{25} << false << "1" << "Direction";
        QTest::newRow("26 A") << QList<int>{24, 26} << false << "A" << "Backward";
        QTest::newRow("28 C") << QList<int>{24, 28} << false << "C" << "Backward";
        QTest::newRow("29 D before marked") << QList<int>{24, 25, 29} << false << "D" << "Backward";
        QTest::newRow("29 killer") << QList<int>{24, 29} << true << "X" << "KILLER";
        QTest::newRow("killer whatever the position") << QList<int>{3} << true << "X" << "KILLER";
        QTest::newRow("killer then 0 again") << QList<int>{29, 0} << false << "0" << "Forward";
        QTest::newRow("far past the course shows a number") << QList<int>{24, 500} << false << "500" << "Backward";
    }
    void cellsAlongTheCourse() {
        QFETCH(QList<int>, positions);
        QFETCH(bool, killer);
        QFETCH(QString, position);
        QFETCH(QString, direction);
        capzel::modCapzel g = gameOf(3);
        FrmStatus w(g);
        for (int k = 0; k < positions.size(); ++k) {
            g.Position[2] = positions[k];
            g.IsKiller[2] = killer && k == positions.size() - 1;
            w.tmrRefresh_Timer();
        }
        QCOMPARE(text(w, FrmStatus::Position, 2), position);
        QCOMPARE(text(w, FrmStatus::Direction, 2), direction);
        QCOMPARE(text(w, FrmStatus::Num, 2), QString("2"));
        QCOMPARE(text(w, FrmStatus::Name, 2), QString("Player 2"));
        QCOMPARE(text(w, FrmStatus::Score, 2), QString("210"));
        // The other rows are untouched by player 2's course.
        QCOMPARE(text(w, FrmStatus::Position, 1), QString("0"));
        QCOMPARE(text(w, FrmStatus::Direction, 1), QString("Forward"));
    }

    // A highlighted row takes the complementary colour, its rule too, and a
    // refresh leaves it so.
    void highlightIsComplementary_data() {
        QTest::addColumn<Color>("color");
        QTest::addColumn<Color>("highlight");
        QTest::newRow("red -> cyan") << rgb(255, 0, 0) << rgb(0, 255, 255);
        QTest::newRow("black -> white") << rgb(0, 0, 0) << rgb(255, 255, 255);
        QTest::newRow("white -> black") << rgb(255, 255, 255) << rgb(0, 0, 0);
        QTest::newRow("mixed") << rgb(10, 200, 30) << rgb(245, 55, 225);
    }
    void highlightIsComplementary() {
        QFETCH(Color, color);
        QFETCH(Color, highlight);
        capzel::modCapzel g = gameOf(4);
        g.PlayerColor[3] = color;
        FrmStatus w(g);
        w.tmrRefresh_Timer();
        expectRowColor(w, 3, color);
        w.HighLightRow(3);
        QCOMPARE(w.highlightedRow(), 3);
        expectRowColor(w, 3, highlight);
        w.tmrRefresh_Timer();
        expectRowColor(w, 3, highlight);
        const QColor rule = w.grab().toImage().pixelColor(100, ipx(FrmStatus::linSepY(3)));
        QCOMPARE(rgb(rule.red(), rule.green(), rule.blue()), highlight);
    }

    // A row highlighted before the current one keeps its colour until the
    // next refresh; the activation recolours every row but forgets no
    // highlight; only the background puts every row back.
    void highlightLastsUntilTheRefresh() {
        capzel::modCapzel g = gameOf(5);
        FrmStatus w(g);
        w.tmrRefresh_Timer();
        w.HighLightRow(2);
        w.HighLightRow(5);
        expectRowColor(w, 2, highlightOf(g.PlayerColor[2]));
        expectRowColor(w, 5, highlightOf(g.PlayerColor[5]));
        w.tmrRefresh_Timer();
        expectRowColor(w, 2, g.PlayerColor[2]);
        expectRowColor(w, 5, highlightOf(g.PlayerColor[5]));
        w.Form_Activate();
        for (int i = 1; i <= 5; ++i) expectRowColor(w, i, g.PlayerColor[i]);
        QCOMPARE(w.highlightedRow(), 5);
        w.UnHighlightAll();
        QCOMPARE(w.highlightedRow(), 0);
    }

    void rowsAndHeightFollowPlayers_data() {
        QTest::addColumn<QList<int>>("players");  // refreshed in turn
        QTest::addColumn<int>("separatorsEnd");   // twips
        QTest::addColumn<int>("outerHeight");     // twips
        QTest::newRow("1") << QList<int>{1} << 720 << 1320;
        QTest::newRow("8") << QList<int>{8} << 2400 << 3000;
        QTest::newRow("3 after 8 hides rows again") << QList<int>{8, 3} << 1200 << 1800;
        QTest::newRow("5 after 3 shows them again") << QList<int>{3, 5} << 1680 << 2280;
    }
    void rowsAndHeightFollowPlayers() {
        QFETCH(QList<int>, players);
        QFETCH(int, separatorsEnd);
        QFETCH(int, outerHeight);
        capzel::modCapzel g = gameOf(players.first());
        FrmStatus w(g);
        showRefreshed(w);
        for (int n : players) {
            g.NumberOfPlayers = std::int16_t(n);
            w.tmrRefresh_Timer();
        }
        for (int i = 1; i <= 8; ++i) {
            const bool shown = i <= players.last();
            for (int col = 0; col < FrmStatus::ColumnCount; ++col)
                QCOMPARE(w.cell(FrmStatus::Column(col), i)->isVisible(), shown);
            QCOMPARE(w.rowRuleVisible(i), shown);
        }
        QCOMPARE(w.separatorsEndTwips(), separatorsEnd);
        QCOMPARE(w.frameGeometry().height(), ipx(outerHeight));
        // Below the last row's rule nothing of the hidden rows is drawn.
        const QImage img = w.grab().toImage();
        const int belowLast = ipx(separatorsEnd) + 4;
        if (belowLast < img.height())
            for (int x = 0; x < img.width(); ++x) QCOMPARE(img.pixelColor(x, belowLast), QColor(Qt::black));
    }

    void minimisedWindowKeepsItsSize() {
        capzel::modCapzel g = gameOf(8);
        FrmStatus w(g);
        showRefreshed(w);
        const int before = w.height();
        w.setWindowState(Qt::WindowMinimized);
        g.NumberOfPlayers = 2;
        w.tmrRefresh_Timer();
        QCOMPARE(w.height(), before);
        w.setWindowState(Qt::WindowNoState);
        w.tmrRefresh_Timer();
        QCOMPARE(w.frameGeometry().height(), ipx(960 + 600));
    }

    void namesArePlainText() {
        capzel::modCapzel g = gameOf(4);
        g.PlayerName[1] = "<b>x</b>";
        g.PlayerName[2] = "<img src='x'>";
        g.PlayerName[3] = "";
        g.PlayerName[4] = "Alexandrina Wilhelmina of the Long Name";
        FrmStatus w(g);
        w.tmrRefresh_Timer();
        QCOMPARE(text(w, FrmStatus::Name, 3), QString());  // not the laid-out "Name"
        // A name too long for its column ends in an ellipsis within it.
        const QLabel* longName = w.cell(FrmStatus::Name, 4);
        QVERIFY(longName->text().startsWith("Alexandrina"));
        QVERIFY(longName->text().endsWith(QChar(0x2026)));
        QVERIFY(longName->x() + longName->fontMetrics().horizontalAdvance(longName->text()) < ipx(1920));
        g.PlayerName[4] = "Al";
        w.tmrRefresh_Timer();
        QCOMPARE(text(w, FrmStatus::Name, 4), QString("Al"));
        for (int i = 1; i <= 2; ++i) {
            const QLabel* name = w.cell(FrmStatus::Name, i);
            QCOMPARE(name->text(), QString::fromStdString(g.PlayerName[i]));
            QCOMPARE(name->textFormat(), Qt::PlainText);
        }
        // Shown literally: the brackets take room a markup rendering would not.
        const QLabel* name = w.cell(FrmStatus::Name, 1);
        QVERIFY(name->sizeHint().width() >= name->fontMetrics().horizontalAdvance("<b>x</b>"));
    }

    void mouseRouting() {
        capzel::modCapzel g = gameOf(6);
        FrmStatus w(g);
        showRefreshed(w);
        QWindow* win = w.windowHandle();
        auto centreOf = [&](FrmStatus::Column c, int row) { return w.cell(c, row)->geometry().center(); };

        QTest::mouseMove(win, centreOf(FrmStatus::Name, 2));
        QTRY_COMPARE(w.highlightedRow(), 2);
        expectRowColor(w, 2, highlightOf(g.PlayerColor[2]));
        QTest::mouseMove(win, centreOf(FrmStatus::Score, 5));
        QTRY_COMPARE(w.highlightedRow(), 5);
        expectRowColor(w, 5, highlightOf(g.PlayerColor[5]));

        // Headers and rules leave the highlight as it is.
        QTest::mouseMove(win, w.findChild<QLabel*>("Label3")->geometry().center());
        QTest::mouseMove(win, QPoint(200, ipx(FrmStatus::linSepY(4))));
        QTest::mouseMove(win, QPoint(ipx(2760), ipx(1500)));
        QCoreApplication::processEvents();
        QCOMPARE(w.highlightedRow(), 5);

        // The black background puts every row back at once.
        QTest::mouseMove(win, QPoint(ipx(2200), ipx(FrmStatus::linSepY(4)) + 6));
        QTRY_COMPARE(w.highlightedRow(), 0);
        for (int i = 1; i <= 6; ++i) expectRowColor(w, i, g.PlayerColor[i]);
    }

    void idleRefreshPaintsNothing() {
        capzel::modCapzel g = gameOf(8);
        g.Position[4] = 25;
        g.IsKiller[6] = true;
        FrmStatus w(g);
        showRefreshed(w);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();

        PaintCounter counter;
        w.installEventFilter(&counter);
        for (QWidget* child : w.findChildren<QWidget*>()) child->installEventFilter(&counter);
        for (int k = 0; k < 20; ++k) {
            w.tmrRefresh_Timer();
            QCoreApplication::processEvents();
        }
        QCOMPARE(counter.paints, 0);

        // A changed score repaints.
        g.Score[4] += 5;
        w.tmrRefresh_Timer();
        QTRY_VERIFY(counter.paints > 0);
    }
};

CAPZEL_QT_TEST_MAIN(TestStatus)
#include "tst_status.moc"
