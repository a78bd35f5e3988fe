// What teaches a new player the game: the first-game coach, How to Play, the suggestion, the history's charts.
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <set>

#include "desktop/HistoryFile.h"
#include "desktop/PlayerSettings.h"
#include "desktop/ProgramFolder.h"
#include "support/QtTestMain.h"
#include "ui/charts/HistoryCharts.h"
#include "ui/charts/LineCharts.h"
#include "ui/windows/FirstGameCoach.h"
#include "ui/windows/GameHistoryWindow.h"
#include "ui/windows/HelpPictures.h"
#include "ui/windows/HowToPlayWindow.h"
#include "ui/windows/SuggestionOverlay.h"

using namespace capzel;
using namespace capzel::ui;

namespace {

std::set<QRgb> colours(const QImage& image) {  // of its pixels
    std::set<QRgb> seen;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) seen.insert(image.pixel(x, y) | 0xff000000u);
    return seen;
}

}  // namespace

class TeachingTest : public capzel::test::WindowTest {
    Q_OBJECT

private slots:
    void cleanup() {
        f.close();
        savePlayerSettings({});  // the next test starts with the coach to come
    }

    // The three steps follow the first shot as a person plays it, then never show again.
    void coachWalksThroughTheFirstShot() {
        f.play();
        MainWindow& w = f.window();
        w.syncMenus();
        FirstGameCoach* coach = w.coach();
        QVERIFY(coach->isVisible() && coach->step() == CoachStep::DragBack);

        const Box& piece = f.board().pieces[1];
        const QPointF at(px(piece.left + piece.width / 2.0 - 300), px(piece.top + piece.height / 2.0 + 600));
        f.moveOverField(at);
        QVERIFY(coach->step() == CoachStep::Release && coach->findChild<QLabel*>("coachText")->text().contains(QLatin1String("Release")));
        QTest::mouseRelease(w.view(), Qt::LeftButton, {}, at.toPoint());
        QVERIFY(coach->step() == CoachStep::PressGo && !f.app->settings().coachDone);
        // Done once the shot is on its way, fired as a player's is after the bar has risen a little.
        QVERIFY(QTest::qWaitFor([&] { return w.turn().controls().powerBar.revision > 3; }, 20000));
        w.view()->goButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return w.turn().phase() == TurnPhase::Shooting; }, 20000));
        QVERIFY(f.app->settings().coachDone && !coach->isVisible() && loadPlayerSettings().coachDone);  // kept for the next start

        f.app->openMainWindow();
        f.play();
        f.window().syncMenus();
        QVERIFY(!f.window().coach()->isVisible());  // never again
    }

    // The coach stands clear of the piece it points at, steps aside while a box is open, and turns every helper on in one click.
    void coachKeepsClearAndOffersTheHelpers() {
        const QRect upper = coachPlace({});
        struct Case { QRect piece; bool lower; };
        for (const Case& c : {Case{{}, false}, Case{{100, 528, 25, 25}, false}, Case{{300, 180, 25, 25}, true},
                              Case{{upper.right() + 3, upper.bottom() + 3, 25, 25}, true},
                              Case{{upper.right() + 8, upper.top(), 25, 25}, false}})
            QCOMPARE(coachPlace(c.piece) != upper, c.lower);

        f.play();
        MainWindow& w = f.window();
        f.change([](Game& g) { g.piece(1).left = float(twips(300)), g.piece(1).top = float(twips(180)); });
        const Box& piece = f.board().pieces[1];
        w.syncMenus();
        FirstGameCoach* coach = w.coach();
        QVERIFY(coach->isVisible() && !coach->geometry().intersects(pxRect(piece.left, piece.top, piece.width, piece.height).toRect()));

        bool shownUnderTheBox = true;
        f.modals->then([] { return test::ModalAnswerer::modal<QMessageBox>() != nullptr; },
                        [&] { shownUnderTheBox = coach->isVisible(); });
        f.platform().message("Ann's turn start.");
        QVERIFY(!shownUnderTheBox);
        w.syncMenus();
        QVERIFY(coach->isVisible() && coach->helpersButton()->isVisible());

        QVERIFY(!f.app->settings().anyHelper());
        coach->helpersButton()->click();
        PlayerSettings all;
        all.turnOnHelpers();
        QVERIFY(f.app->settings() == all && f.app->showHints() && !coach->helpersButton()->isVisible() && coach->isVisible());
    }

    // Closed by hand, the coach is done as well; a computer's turn shows no coach.
    void coachClosedOrNotForComputers() {
        f.app->setSettings({});
        f.play(PlayerKind::Human, PlayerKind::Club);
        f.change([](Game& g) { g.currentTurn = 2; });
        QVERIFY(!f.window().coach()->isVisible());
        f.change([](Game& g) { g.currentTurn = 1; });
        QVERIFY(f.window().coach()->isVisible());
        f.window().coach()->closeButton()->click();
        QVERIFY(!f.window().coach()->isVisible() && f.app->settings().coachDone);
    }

    // The suggested drag point stays inside the field, on the planned line and no farther; one inside stays put.
    void suggestionKeptInsideTheField() {
        const float w = kClientWidth, h = kClientHeight, m = 120;
        const auto inside = [&](float x, float y, float slack) { return x >= m - slack && x <= w - m + slack && y >= m - slack && y <= h - m + slack; };
        const std::array<float, 4> cases[] = {{2000, 3000, 2500, 3600}, {2000, 3000, 30000, 3500}, {2000, 3000, -9000, -2000},
                                              {9000, 8000, 20000, 30000}, {5000, 5000, 5000, -40000}, {100, 100, -500, -500},
                                              {5000, 4000, 5000, 4000}, {2000, 3000, 10900, 3200}, {6000, 3000, 5800, 50}};
        for (const auto& [x1, y1, x2, y2] : cases) {
            SuggestedShot s{x1, y1, x2, y2, 0, 50};
            keepAimInside(s, w, h, m);
            if (inside(x2, y2, 0)) QVERIFY(s.x2 == x2 && s.y2 == y2);
            else if (inside(x1, y1, 0))  // clipped: on the inner border
                QVERIFY(inside(s.x2, s.y2, 0.5f) && std::min({std::fabs(s.x2 - m), std::fabs(s.x2 - (w - m)), std::fabs(s.y2 - m), std::fabs(s.y2 - (h - m))}) < 0.5f);
            const double ax = double(x2) - x1, ay = double(y2) - y1, bx = double(s.x2) - x1, by = double(s.y2) - y1;
            QVERIFY(std::fabs(ax * by - ay * bx) <= 1e-3 * std::hypot(ax, ay) * std::max(1.0, std::hypot(bx, by)));
            QVERIFY(ax * bx + ay * by >= 0 && std::hypot(bx, by) <= std::hypot(ax, ay));
        }
    }

    // How to Play opens from the Help menu, once; Esc closes it; its pictures are the field's own drawing.
    void howToPlayFromTheHelpMenu() {
        f.window().menus().howToPlayAction->trigger();
        HowToPlayWindow* help = HowToPlayWindow::openOne();
        QVERIFY(help && help->isVisible());
        f.window().menus().howToPlayAction->trigger();
        QCOMPARE(HowToPlayWindow::openOne(), help);
        QTest::keyClick(help, Qt::Key_Escape);
        QVERIFY(QTest::qWaitFor([] { return HowToPlayWindow::openOne() == nullptr; }, 20000));

        const struct { HelpPicture which; QList<QColor> pieces; } pictures[] = {{HelpPicture::Aiming, {QColor(255, 255, 0)}},
            {HelpPicture::Bar, {QColor(0, 0, 255)}}, {HelpPicture::Course, {}}, {HelpPicture::Killer, {QColor(255, 64, 64), QColor(64, 160, 255), QColor(64, 255, 64)}}};
        for (const auto& p : pictures) {
            const QImage image = helpPicture(p.which, 240).toImage();
            const std::set<QRgb> seen = colours(image);
            QVERIFY(image.width() == 240 && seen.size() > 8);
            for (const QColor& c : p.pieces) QVERIFY2(seen.count(c.rgb()), qPrintable(c.name()));
        }
    }

    // The history's lines take the players' colours; a line drawn over another is thinner, with smaller points: equal ones both show.
    void chartLinesShowEachOther() {
        TrendGatherer gathered({"Ann", "Bob"}, 2);
        for (int g = 0; g < 2; ++g) gathered.add({"2026-12-09 10:00", 1, 10, {{"Ann", PlayerKind::Human, 5}, {"Bob", PlayerKind::Human, 3}}});
        const HistoryTrends trends = gathered.take();
        QCOMPARE(trends.wins[1].color, lineColor(QColor(255, 0, 0)));  // the second seat's red
        QCOMPARE(trends.averageShots[0].color, lineColor(QColor(255, 255, 255)));
        std::unique_ptr<QChartView> view(
            lineChart("equal", {"t", "x", "y"}, {{"A", QColor(255, 0, 0), {{0, 1}, {1, 2}}}, {"B", QColor(0, 0, 255), {{0, 1}, {1, 2}}}}, nullptr));
        auto* under = qobject_cast<QLineSeries*>(view->chart()->series().at(0));
        auto* over = qobject_cast<QLineSeries*>(view->chart()->series().at(1));
        QVERIFY(under->pen().width() > over->pen().width() && under->markerSize() > over->markerSize());
    }

    // Clearing asks first; a yes empties the file in place, and what is not a file stays.
    void clearHistoryAsksThenEmpties() {
        const std::string path = historyFile();
        const QString name = QString::fromStdString(path);
        QVERIFY(addToHistoryFile(path, {"2026-12-08 11:00", 1, 4, {{"Ann", PlayerKind::Human, 7}}}).added);
        f.app->showHistory();
        GameHistoryWindow* window = f.app->historyWindow();
        QCOMPARE(window->gameList()->model()->rowCount(), 1);
        f.modals->answers = {"No", "Yes"};
        window->clearButton()->click();
        QVERIFY(QFileInfo(name).size() > 0);  // no
        window->clearButton()->click();
        QVERIFY(QFileInfo(name).size() == 0 && window->gameList()->model()->rowCount() == 0 && f.modals->boxes.size() == 2);
        window->closeButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return f.app->historyWindow() == nullptr; }, 20000));

        QTemporaryDir dir;
        QCOMPARE(clearHistoryFile(dir.filePath(QStringLiteral("none.csv")).toStdString()), std::string());
        QDir(dir.path()).mkdir(QStringLiteral("folder.csv"));
        QVERIFY(!clearHistoryFile(dir.filePath(QStringLiteral("folder.csv")).toStdString()).empty());
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder.csv"))).isDir());
    }
};

CAPZEL_QT_TEST(TeachingTest)
#include "tst_teaching.moc"
