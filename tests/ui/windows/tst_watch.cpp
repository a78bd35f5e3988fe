// A three-shot game taken back and played again from the menu, watched from
// its record (the shot list, the chart, the game in progress put aside and
// back untouched), and a hostile record refused by the field it gets wrong.
// A hidden command during a shot, watched; exported and dropped records;
// the records folder's limit.
#include <QAction>
#include <QChartView>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTreeView>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>

#include "records/GameRecord.h"
#include "session/GameSession.h"
#include "session/RecordReplay.h"
#include "support/RunDriver.h"
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

    // The running game ends as finished at `when`: its record kept, its
    // history line added, and Game History opened.
    bool keepAsFinished(const char* when) {
        const capzel::HistoryGame finished = capzel::finishedGame(f.state(), when);
        if (!capzel::ui::keepFinishedRecord(w().platform(), capzel::ui::recordsFolder(), finished,
                                            capzel::writeGameRecord(f.app->session().record())).empty())
            return false;
        if (!capzel::ui::addToHistoryFile(capzel::ui::historyFile(), finished).added) return false;
        f.app->showHistory();
        return true;
    }

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
        QCOMPARE(watch->corrections(), 0);
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
        QVERIFY(keepAsFinished("2026-12-08 10:00"));
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

    // Bob's piece put in box 13 while Ann's shot runs: the watched shot
    // takes the change at its advance and ends where the record says.
    void aCommandDuringAShotIsWatchedAtItsAdvance() {
        capzel::GameSession session;
        capzel::test::FakePlatform ui;
        session.openBoard(ui);
        capzel::NewGameSettings two;
        two.players = 2;
        session.beginNewGame(two);
        session.turn().mouseMove(1, 0, 3650, 9000);
        session.state().power = 3000;
        session.turn().startShot();
        for (int k = 0; k < 50; ++k) session.turn().advance();
        ui.inputAnswers = {"2", "13"};
        session.runCommand(capzel::setPositionCommand);
        capzel::test::drive(session.turn(), ui);
        session.advanced();
        QCOMPARE(std::get<capzel::RecordedShot>(session.record().entries.at(0)).commands.size(), 1u);

        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("game.json")).toStdString();
        QCOMPARE(capzel::saveGameRecord(w().platform(), path, session.record()), std::string());
        f.app->watchRecordFile(path);
        capzel::ui::WatchWindow* watch = f.app->watchWindow();
        watch->fastBox()->setChecked(true);
        watch->setPlaying(true);
        QTRY_VERIFY_WITH_TIMEOUT(watch->shownShot() == 1 && !watch->playing(), 60000);
        QCOMPARE(watch->corrections(), 0);
        watch->close();
    }

    // Export Game Record... of the running game and of a Game History row
    // writes a record that replays; one dropped on the main window is watched.
    void exportedRecordsReplayAndADroppedOneIsWatched() {
        QVERIFY(f.startGame({QStringLiteral("Ann"), QStringLiteral("Bob")}));
        capzel::test::aim(w());
        QVERIFY(capzel::test::shoot(w(), 3000));
        QTemporaryDir dir;
        const auto replays = [](const QString& path) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) return false;
            const std::optional<capzel::GameRecord> record = capzel::readGameRecord(file.readAll().toStdString(), nullptr);
            return record && record->shotCount() == 1 && capzel::replayWholeRecord(*record).ok();
        };
        const QString running = dir.filePath(QStringLiteral("running.json"));
        f.modals->chooseFile(running);
        w().menus().exportRecordAction->trigger();
        QVERIFY(replays(running));

        QVERIFY(keepAsFinished("2026-12-09 10:00"));
        capzel::ui::GameHistoryWindow* history = f.app->historyWindow();
        history->gameList()->setCurrentIndex(history->gameList()->model()->index(0, 0));
        const QString kept = dir.filePath(QStringLiteral("kept.json"));
        f.modals->chooseFile(kept);
        history->exportButton()->click();
        QVERIFY(replays(kept));
        history->close();

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(kept)});
        QDragEnterEvent enter(QPoint(40, 40), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(40, 40), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w(), &drop);
        QVERIFY(drop.isAccepted());
        QTRY_VERIFY(f.app->watchWindow() && f.app->watchWindow()->game().shotCount() == 1);
        f.app->watchWindow()->close();
    }

    // 1,002 records kept a second apart, and one more: the three oldest go.
    void theNewestThousandRecordsAreKept() {
        QTemporaryDir dir;
        const std::string folder = dir.filePath(QStringLiteral("records")).toStdString();
        QVERIFY(QDir().mkpath(QString::fromStdString(folder)));
        const auto game = [](int k) { return capzel::HistoryGame{std::to_string(k), 0, k, {}}; };
        const QDateTime longAgo = QDateTime::currentDateTime().addDays(-1);
        for (int k = 0; k < 1002; ++k) {
            QFile kept(QString::fromStdString(capzel::ui::finishedRecordFile(folder, game(k))));
            QVERIFY(kept.open(QIODevice::WriteOnly) && kept.write("{}") == 2 && kept.flush());
            QVERIFY(kept.setFileTime(longAgo.addSecs(k), QFileDevice::FileModificationTime));
        }
        QCOMPARE(capzel::ui::keepFinishedRecord(w().platform(), folder, game(1002), "{}"), std::string());
        QCOMPARE(QDir(QString::fromStdString(folder)).entryList(QDir::Files).size(), 1000);
        for (int k = 0; k < 1003; ++k) QCOMPARE(capzel::ui::findFinishedRecord(folder, game(k)).has_value(), k >= 3);
    }
};

CAPZEL_QT_TEST(WatchTest)
#include "tst_watch.moc"
