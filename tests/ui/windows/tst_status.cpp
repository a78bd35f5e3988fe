// The status window: its cells for the positions along the course, the row
// highlight lasting until the refresh, names shown as typed, and the mouse
// routing.
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

};

CAPZEL_QT_TEST(TestStatus)
#include "tst_status.moc"
