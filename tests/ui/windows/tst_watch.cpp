// A three-shot game taken back and played again from the menu, watched from
// its record (the shot list, the chart, the game in progress put aside and
// back untouched), and a hostile record refused by the field it gets wrong.
#include <QAction>
#include <QChartView>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>
#include <QTemporaryDir>
#include <QtTest>
#include <nlohmann/json.hpp>

#include "records/GameRecord.h"
#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "ui/charts/GameChart.h"
#include "ui/desktop/HistoryFile.h"
#include "ui/desktop/ProgramFolder.h"
#include "ui/desktop/RecordStore.h"
#include "ui/windows/GameHistoryWindow.h"
#include "ui/watch/WatchWindow.h"

class WatchTest : public QObject {
    Q_OBJECT

    capzel::test::WindowFixture f;
    capzel::ui::MainWindow& w() { return f.window(); }
    std::uint64_t hash() { return capzel::gameHash(f.state(), f.field()); }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void init() { QVERIFY(f.open()); }
    void cleanup() { f.close(); }

    void threeShotsWatchedThenUndoneAndRedone() {
        QVERIFY(f.startGame({QStringLiteral("Ann"), QStringLiteral("Bob")}));
        std::vector<std::uint64_t> after{hash()};
        for (int shot = 0; shot < 3; ++shot) {
            capzel::test::aim(w());
            QVERIFY(capzel::test::shoot(w(), std::int16_t(3000 + 500 * shot)));
            after.push_back(hash());
        }
        QCOMPARE(f.app->session().record().shotCount(), 3);

        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("game.json")).toStdString();
        QCOMPARE(capzel::saveGameRecord(w().platform(), path, f.app->session().record()), std::string());
        f.app->watchRecordFile(path);
        capzel::ui::WatchWindow* watch = f.app->watchWindow();
        QVERIFY(watch && !w().isVisible());
        QCOMPARE(watch->shotList()->count(), 4);  // the start and three shots
        QVERIFY(watch->shotList()->item(1)->text().startsWith(QStringLiteral("1. Ann: ")));
        QVERIFY(watch->shotList()->item(2)->text().startsWith(QStringLiteral("2. Bob: ")));
        QVERIFY(watch->chart()->findChild<QChartView*>(QStringLiteral("scoreChart")));
        QVERIFY(watch->chart()->findChild<QChartView*>(QStringLiteral("courseChart")));
        QVERIFY(watch->notice()->isHidden());

        // Played through eight times faster, and a row chosen.
        watch->fastBox()->setChecked(true);
        watch->setPlaying(true);
        QVERIFY(watch->shotRunning());
        QTRY_VERIFY_WITH_TIMEOUT(watch->shownShot() == 3 && !watch->playing(), 60000);
        watch->shotList()->setCurrentRow(1);
        QCOMPARE(watch->shownShot(), 1);

        // The game put aside comes back as it was.
        watch->close();
        QTRY_VERIFY(f.app->watchWindow() == nullptr);
        QVERIFY(w().isVisible());
        QCOMPARE(hash(), after[3]);

        // Back two shots (only the first step asks), and forward again.
        f.modals->answers = {QStringLiteral("Yes")};
        for (int k = 0; k < 2; ++k) w().menus().undoAction->trigger();
        QCOMPARE(hash(), after[1]);
        QVERIFY(w().menus().redoAction->isEnabled());
        for (int k = 0; k < 2; ++k) w().menus().redoAction->trigger();
        QCOMPARE(hash(), after[3]);
        QVERIFY(!w().menus().redoAction->isEnabled());

        // Game History finds the record kept for its row, and watches it.
        const capzel::HistoryGame finished = capzel::finishedGame(f.state(), "2026-12-08 10:00");
        QCOMPARE(capzel::ui::keepFinishedRecord(w().platform(), capzel::ui::recordsFolder(), finished,
                                                capzel::writeGameRecord(f.app->session().record())),
                 std::string());
        QVERIFY(capzel::ui::addToHistoryFile(capzel::ui::historyFile(), finished).added);
        f.app->showHistory();
        capzel::ui::GameHistoryWindow* history = f.app->historyWindow();
        QVERIFY(!history->watchButton()->isEnabled());
        history->gameList()->setCurrentIndex(history->gameList()->model()->index(0, 0));
        QVERIFY(history->exportButton()->isEnabled());
        history->watchButton()->click();
        // The start, three shots, two undos and the two shots played again,
        // played through, the undos included.
        watch = f.app->watchWindow();
        QVERIFY(watch && watch->shotList()->count() == 8);
        QCOMPARE(watch->shotList()->item(5)->text(), QStringLiteral("5. The last shot was taken back."));
        watch->fastBox()->setChecked(true);
        watch->shotList()->setCurrentRow(3);
        watch->setPlaying(true);
        QTRY_VERIFY_WITH_TIMEOUT(watch->shownShot() == 7 && !watch->playing(), 60000);
        watch->close();
        QTRY_VERIFY(f.app->watchWindow() == nullptr);
        history->close();

        // A seat that is not a player: refused by name, the game untouched.
        nlohmann::json hostile = nlohmann::json::parse(capzel::writeGameRecord(f.app->session().record()));
        hostile["entries"][0]["seat"] = 9;
        QCOMPARE(w().platform().writeFile(path, hostile.dump()), std::string());
        const qsizetype seen = f.modals->messages().size();
        f.app->watchRecordFile(path);
        QTRY_COMPARE(f.modals->messages().size(), seen + 1);
        QVERIFY(f.modals->messages().constLast().contains(QStringLiteral("/entries/0/seat")));
        QVERIFY(f.app->watchWindow() == nullptr && w().isVisible());
        QCOMPARE(hash(), after[3]);
    }
};

CAPZEL_QT_TEST(WatchTest)
#include "tst_watch.moc"
