// The status window: cells along the course, names as typed, the row under the mouse, the turn's arrow, who is present.
#include "support/QtTestMain.h"
#include "ui/windows/StatusWindow.h"

using namespace capzel;
using namespace capzel::protocol;
using namespace capzel::ui;

namespace {

capzel::Game gameOf(int players) {
    capzel::Game g;
    g.numberOfPlayers = std::int16_t(players), g.currentTurn = 1, g.gameRunning = true;
    g.recreatePerGameTables();
    const Color colors[] = {rgb(255, 0, 0), rgb(0, 0, 255), rgb(0, 255, 0), rgb(255, 255, 0), rgb(255, 0, 255), rgb(0, 255, 255), rgb(128, 64, 32), 0};
    for (int i = 1; i <= 8; ++i) g.seats[i].name = "Player " + std::to_string(i), g.seats[i].color = colors[i - 1], g.seats[i].score = 200 + (i - 1) * 10;
    return g;
}

Color labelColor(const QLabel* label) {
    const QColor c = label->palette().color(QPalette::WindowText);
    return rgb(c.red(), c.green(), c.blue());
}

void expectRowColor(const StatusWindow& w, int row, Color c) {  // every cell of the row, and its rule
    for (int col = 0; col < StatusWindow::ColumnCount; ++col)
        QCOMPARE(labelColor(w.cell(StatusWindow::Column(col), row)), c);
    QCOMPARE(w.rowColor(row), c);
}

Color highlightOf(Color c) { return 0xFFFFFF - c; }

const std::vector<SeatStatus> kSeats = {{1, "Ann", SeatPresence::Connected, PlayerKind::Human},
                                        {2, "<b>Bob</b>", SeatPresence::Waiting, PlayerKind::Human}, {3, "Deep", SeatPresence::Computer, PlayerKind::Expert}};

QString text(const StatusWindow& w, StatusWindow::Column c, int row) { return w.cell(c, row)->text(); }

}  // namespace

class StatusWindowTest : public capzel::test::UiTest {
    Q_OBJECT

private slots:
    // Cells follow announced positions; with no direction of its own a cell keeps its text.
    void cellsAlongTheCourse() {
        struct Case { QList<int> positions; bool killer; QString position, direction; };  // killer at the last one
        const Case cases[] = {{{13}, false, "13", "Forward"}, {{14}, false, "12", "Backward"},
                              {{24, 25}, false, "1", "Backward"}, {{25}, false, "1", "Direction"},
                              {{24, 26}, false, "A", "Backward"}, {{3}, true, "X", "KILLER"},
                              {{29, 0}, false, "0", "Forward"}, {{24, 500}, false, "500", "Backward"}};
        for (const Case& c : cases) {
            capzel::Game g = gameOf(3);
            StatusWindow w(g);
            for (int k = 0; k < c.positions.size(); ++k) {
                g.seats[2].position = c.positions[k];
                g.seats[2].isKiller = c.killer && k == c.positions.size() - 1;
                w.stateChanged();
                QCoreApplication::processEvents();
            }
            QCOMPARE(text(w, StatusWindow::PositionColumn, 2) + '|' + text(w, StatusWindow::DirectionColumn, 2),
                     c.position + '|' + c.direction);
            QCOMPARE(text(w, StatusWindow::ScoreColumn, 2), QString("210"));
            QCOMPARE(text(w, StatusWindow::PositionColumn, 1), QString("0"));  // the other rows untouched
        }
    }

    // Names as typed, as text; an empty one empty; a long one cut with an ellipsis inside its column.
    void namesArePlainText() {
        capzel::Game g = gameOf(4);
        g.seats[1].name = "<img src='x'>", g.seats[2].name = "", g.seats[3].name = "Alexandrina Wilhelmina of the Long Name";
        StatusWindow w(g);
        w.refreshRows();
        const QLabel* markup = w.cell(StatusWindow::NameColumn, 1);
        QVERIFY(markup->text() == "<img src='x'>" && markup->textFormat() == Qt::PlainText);
        QCOMPARE(text(w, StatusWindow::NameColumn, 2), QString());  // not the laid-out "Name"
        const QLabel* longName = w.cell(StatusWindow::NameColumn, 3);
        QVERIFY(longName->text().startsWith("Alexandrina") && longName->text().endsWith(QChar(0x2026)) &&
                longName->x() + longName->fontMetrics().horizontalAdvance(longName->text()) < ipx(1920));
    }

    // The row under the mouse lights up; headers and rules (thicker when zoomed) keep it, the background clears it.
    void highlightFollowsTheMouse() {
        for (double zoom : {1.0, 2.0}) {
            capzel::Game g = gameOf(6);
            StatusWindow w(g);
            w.setZoom(zoom);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            const auto move = [&w](QPoint to) { QTest::mouseMove(w.windowHandle(), to); };
            const auto at = [zoom](double x, double y) { return QPoint(ipx(x, zoom), ipx(y, zoom)); };
            const auto over = [&](StatusWindow::Column c, int row) { move(w.cell(c, row)->geometry().center()); };
            over(StatusWindow::NameColumn, 2);
            QTRY_COMPARE(w.highlightedRow(), 2);
            over(StatusWindow::ScoreColumn, 5);
            QTRY_COMPARE(w.highlightedRow(), 5);
            expectRowColor(w, 2, highlightOf(g.seats[2].color));  // as the classic window leaves it
            expectRowColor(w, 5, highlightOf(g.seats[5].color));
            w.refreshRows();
            expectRowColor(w, 2, g.seats[2].color);
            // A header, the last pixel row of a rule, the last pixel column of a separator.
            move(w.findChild<QLabel*>("positionHeader")->geometry().center());
            move(at(2200, StatusWindow::ruleYTwips(4)) + QPoint(0, int(zoom) - 1));
            move(at(2760, 1650) + QPoint(int(zoom) - 1, 0));
            QCoreApplication::processEvents();
            QCOMPARE(w.highlightedRow(), 5);
            move(at(2200, StatusWindow::ruleYTwips(4) + 90));
            QTRY_COMPARE(w.highlightedRow(), 0);
            for (int i = 1; i <= 6; ++i) expectRowColor(w, i, g.seats[i].color);
            over(StatusWindow::NameColumn, 3);
            QTRY_COMPARE(w.highlightedRow(), 3);
            w.applyPlayerColors();
            expectRowColor(w, 3, g.seats[3].color);
            QCOMPARE(w.highlightedRow(), 3);
        }
    }

    // The arrow follows the turn, the players who are out are struck through; the texts stay.
    void turnArrowAndPlayersOut() {
        struct Case { bool running; int turn; QList<int> out; int arrow; };
        const Case cases[] = {{true, 1, {}, 1}, {true, 3, {2}, 3}, {true, 2, {1, 3}, 2}, {false, 2, {1}, 0}, {true, 9, {}, 0}};
        for (const Case& c : cases) {
            capzel::Game g = gameOf(3);
            g.gameRunning = c.running;
            g.currentTurn = std::int16_t(c.turn);
            for (int i : c.out) g.seats[i].dead = true;
            StatusWindow status(g);
            status.setMarks(true);  // a helper: off in the classic window
            status.refreshRows();
            QCOMPARE(status.turnRow(), c.arrow);
            const QImage shot = status.grab().toImage();
            for (int row = 1; row <= 3; ++row) {
                QCOMPARE(status.rowMarkedOut(row), c.out.contains(row));
                QCOMPARE(text(status, StatusWindow::NameColumn, row), QStringLiteral("Player %1").arg(row));
                const QPoint tip = status.turnArrowRect(row).center() - QPoint(1, 0);
                QCOMPARE(QColor(shot.pixel(tip)) == Qt::white, row == c.arrow);
            }
        }
    }

    // Online: classic cells unchanged, a dot for each player present, a ring for the awaited one, a line naming them; offline, as before.
    void statusPresence() {
        const capzel::Game g = gameOf(3);
        StatusWindow w(g);
        w.setMarks(true);  // a helper: off in the classic window
        w.show();
        w.refreshRows();
        const QSize offline = w.size();
        const auto cells = [&w] {
            QList<std::pair<QRect, QString>> out;
            for (int row = 1; row <= 3; ++row)
                for (int c = 0; c < StatusWindow::ColumnCount; ++c)
                    out << std::pair(w.cell(StatusWindow::Column(c), row)->geometry(), text(w, StatusWindow::Column(c), row));
            return out;
        };
        const auto offlineCells = cells();

        w.setPresence(kSeats);
        QVERIFY(w.height() > offline.height() && w.width() == offline.width() && cells() == offlineCells);
        const QLabel* line = w.presenceLine();  // as typed, tags and all: markup would show narrower
        QCOMPARE(line->text(), "waiting for <b>Bob</b>…");
        QVERIFY(line->isVisible() && line->sizeHint().width() >= line->fontMetrics().horizontalAdvance(line->text()));
        QCOMPARE(w.cell(StatusWindow::NameColumn, 1)->toolTip(), "Ann is connected");
        const QImage shot = w.grab().toImage();
        capzel::test::saveShot(w, "status-online");
        const auto centre = [&](int row) { return shot.pixelColor(w.presenceDotRect(row).center()); };
        QVERIFY(centre(1) == QColor(0, 200, 0) && centre(2) == Qt::black && centre(3) == Qt::black);  // filled, a ring, none
        QVERIFY(!line->geometry().intersects(w.cell(StatusWindow::NameColumn, 3)->geometry()) && line->geometry().bottom() < w.height());

        w.setPresence({});
        QVERIFY(w.size() == offline && !line->isVisible() && w.cell(StatusWindow::NameColumn, 1)->toolTip().isEmpty());
        QCOMPARE(w.grab().toImage().pixelColor(w.presenceDotRect(1).center()), QColor(Qt::black));
    }
};

CAPZEL_QT_TEST(StatusWindowTest)
#include "tst_status.moc"
