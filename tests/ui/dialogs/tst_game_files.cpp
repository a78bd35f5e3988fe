// The game's files through its windows: high scores, the history at a game's end, Save and Load, the records folder.
#include <QChartView>

#include "controls/Aiming.h"
#include "support/QtTestMain.h"
#include "ui/windows/GameHistoryWindow.h"
#include "ui/windows/HighScoreWindow.h"
#include "desktop/ProgramFolder.h"
#include "desktop/RecordStore.h"

using capzel::test::readBytes;
using capzel::test::writeBytes;
using capzel::ui::HighScoreWindow;
using capzel::ui::MainWindow;

namespace {
const QString kBob = QStringLiteral("Bob \"B\" Jr, the 2nd");
const QString kBobSaved = QStringLiteral("Bob 'B' Jr, the 2nd");
const QString kLoadQuestion = QStringLiteral("Loading a game will end the current game.  Are you sure you want to load?");
}  // namespace

class GameFilesTest : public capzel::test::WindowTest {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;

    QString chs() const { return dir_->filePath(QStringLiteral("Capzel.CHS")); }
    const capzel::Game& g() { return f.game(); }
    void save(const QString& path) {
        f.modals->chooseFile(path);
        f.window().menus().saveAction->trigger();
        QVERIFY(f.modals->done());
    }
    HighScoreWindow* open() { return f.app->showHighScores(), f.app->highScoresWindow(); }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        capzel::ui::setProgramFolder(dir_->path().toStdString());
        QVERIFY(f.open());
    }
    void cleanup() { f.close(), capzel::ui::setProgramFolder({}); }

    // The table is created; the window shown again is not reread; once closed, the next one rereads.
    void openAgainBringsUpWithoutReading() {
        QVERIFY(!QFile::exists(chs()));
        HighScoreWindow* first = open();
        QVERIFY(first && first->isVisible() && QFile::exists(chs()));
        QVERIFY(writeBytes(chs(), "\"Changed\",1\r\n"));
        QVERIFY(open() == first && first->nameLabel(1)->text() == QStringLiteral("Norvin Telk"));
        QPointer<HighScoreWindow> closed(first);
        first->close();
        QTRY_VERIFY(closed.isNull() && !f.app->highScoresWindow());
        HighScoreWindow* second = open();
        QVERIFY(second && second->nameLabel(1)->text() == QStringLiteral("Changed") && second->scoreLabel(2)->text().isEmpty());
    }

    // A game's end opens the scores and adds to the history; what is no history is set aside, told.
    void endOfGameOpensItAndAddsToTheHistory_data() {
        QTest::addColumn<QByteArray>("before");  // "dir" for a folder in its place
        QTest::addColumn<int>("games");
        QTest::addColumn<bool>("setAside");
        QTest::newRow("no history yet") << QByteArray() << 1 << false;
        QTest::newRow("a history of one game") << QByteArray("\"2026-01-01 10:00\",1,1,9,\"Bob\",\"Human\",300\r\n") << 2 << false;
        QTest::newRow("not a history") << QByteArray("\"2026-01-01 10:00\",1,1,9,\"Bob\"\r\n") << 1 << true;
        QTest::newRow("a folder") << QByteArray("dir") << 1 << true;
    }
    void endOfGameOpensItAndAddsToTheHistory() {
        QFETCH(QByteArray, before);
        QFETCH(int, games);
        QFETCH(bool, setAside);
        const QString history = QString::fromStdString(capzel::ui::historyFile());
        const QString aside = history + QStringLiteral(".broken");
        QDir(history).removeRecursively();
        QFile::remove(history);
        QFile::remove(aside);
        if (before == "dir") QVERIFY(QDir().mkpath(history));
        else if (!before.isEmpty()) QVERIFY(writeBytes(history, before));

        QVERIFY(f.startGame({"<b>Ann</b>", "Bob"}));  // Bob is dead: Ann, a killer, wins with a shot that leaves her in box 1
        f.change([](capzel::Game& g) {
            g.seats[2].kind = capzel::PlayerKind::Club;
            g.seats[2].dead = g.seats[1].isKiller = true;
        });
        capzel::test::ModalAnswerer& boxes = *f.modals;
        boxes.boxes.clear();
        capzel::test::aim(f.window());
        QVERIFY(capzel::test::shoot(f.window(), 1310) && !g().gameRunning && f.app->highScoresWindow() && f.app->highScoresWindow()->isVisible());
        QVERIFY(boxes.messages().value(0).endsWith(QStringLiteral("<b>Ann</b> WON!")));
        QVERIFY(boxes.messages().size() == 1 + int(setAside) && QFileInfo::exists(aside) == setAside);
        if (setAside) {
            QVERIFY(boxes.messages().constLast().contains(aside));
            if (before != "dir") QCOMPARE(readBytes(aside), before);
        }

        f.app->showHistory();
        capzel::ui::GameHistoryWindow* w = f.app->historyWindow();
        QVERIFY(w && w->isVisible());
        const QAbstractItemModel* rows = w->gameList()->model();
        QVERIFY(rows->rowCount() == games && rows->index(0, 1).data().toString() == "<b>Ann</b>");  // newest first
        QVERIFY(rows->index(0, 3).data().toString().contains(QStringLiteral("Bob (Club)")));
        QTRY_VERIFY(!w->counting());
        QVERIFY(w->winList()->topLevelItem(0)->text(0) == QStringLiteral("<b>Ann</b>") && w->winList()->topLevelItemCount() == 2);
        QCOMPARE(boxes.messages().size(), 1 + int(setAside));  // the window found a good history

        // Charts... shows its window at once and its charts once the history is read.
        w->chartsButton()->click();
        auto* charts = w->findChild<QWidget*>(QStringLiteral("historyCharts"));
        QVERIFY(charts && charts->isVisible());
        QTRY_VERIFY(charts->findChild<QChartView*>(QStringLiteral("winsChart")));
        QCOMPARE(charts->findChild<QChartView*>(QStringLiteral("winsChart"))->chart()->series().size(), 2);
    }

    // A bad line among good ones, found while the wins are counted: the file is set aside, told, and the window shows an empty history.
    void aBadLineFoundWhileCountingSetsTheHistoryAside() {
        const QString history = QString::fromStdString(capzel::ui::historyFile());
        const QByteArray good = "\"2026-01-01 10:00\",1,1,9,\"Bob\",\"Human\",300\r\n";
        const QByteArray before = good + "\"2026-01-01 11:00\",1,1\r\n" + good;
        QFile::remove(history);
        QDir(history + QStringLiteral(".broken")).removeRecursively();  // the last case's folder
        QVERIFY(writeBytes(history, before));
        f.modals->boxes.clear();
        f.app->showHistory();
        capzel::ui::GameHistoryWindow* w = f.app->historyWindow();
        QTRY_COMPARE(f.modals->messages().size(), 1);
        QVERIFY(f.modals->messages().constFirst().contains(QStringLiteral("line 2")) && readBytes(history + ".broken") == before);
        QTRY_VERIFY(w->gameList()->model()->rowCount() == 0 && w->winList()->topLevelItemCount() == 0);
    }

    // Save and Load through the windows (the file's round trip is the core tests').
    void newPlaySaveLoad() {
        QVERIFY(f.startGame({"Ann", kBob}));
        MainWindow* window = &f.window();
        f.change([](capzel::Game& g) { g.seats[2].isKiller = true, g.currentTurn = 2; });
        const QString path = dir_->filePath(QStringLiteral("game.CSG"));
        save(path);
        QCOMPARE(f.modals->fileDialogs.value(0).mode, QFileDialog::AcceptSave);
        QCOMPARE(f.modals->fileDialogs.value(0).filter, QStringLiteral("Capzel save game (*.CSG)"));
        f.change([](capzel::Game& g) { g.seats[2].isKiller = false, g.currentTurn = 1; });
        f.modals->boxes.clear();
        f.modals->answers = QStringList{"Yes"};
        f.modals->chooseFile(path);
        window->menus().loadAction->trigger();
        QVERIFY(f.modals->done() && f.modals->messages() == (QStringList{kLoadQuestion, kBobSaved + QStringLiteral("'s turn start.  KILLER")}));
        QCOMPARE(QDir(f.modals->fileDialogs.value(1).folder), QDir(dir_->path()));
        QVERIFY(f.modals->boxes.last().pointer == Qt::ArrowCursor && !QApplication::overrideCursor());  // not the busy pointer
        QVERIFY(&f.window() == window && g().currentTurn == 2 && g().seats[2].isKiller);  // the saved game, no window reopened
    }

    // Load during a run: under its question the run stands still, then nothing of it is left.
    void loadDuringARun_data() {
        QTest::addColumn<bool>("shot");
        QTest::newRow("during a charge") << false;
        QTest::newRow("during a shot") << true;
    }
    void loadDuringARun() {
        QFETCH(bool, shot);
        QVERIFY(f.startGame({"Ann", kBob}));
        const QString path = dir_->filePath(QStringLiteral("loop.CSG"));
        save(path);
        QPointer<MainWindow> window(&f.window());
        f.change([](capzel::Game& g) { g.seats[1].friction = 100; });  // the piece never slows down: the shot lasts until it is ended
        const capzel::Box& piece = g().piece(1);  // aimed away from, let go: the bar charges
        window->turn().mouseMove(capzel::kLeftButton, 0, piece.left + 900, piece.top + 700);
        bool ranDuringTheRun = false;
        auto command = [&] {
            ranDuringTheRun = window && window->turn().running() && (window->turn().charging() || g().shotInProgress);
            f.app->loadGame();
        };
        // The question waits 100 ms unanswered: the run must not move meanwhile.
        auto snapshot = [&] { return std::tuple(window->turn().controls().barLevel, piece.left, piece.top); };
        std::optional<decltype(snapshot())> underTheBox;
        bool stoodStill = false;
        QElapsedTimer held;
        capzel::test::ModalAnswerer& script = *f.modals;
        script.answers = QStringList{"Yes"};
        script.holdBoxes = [&] {
            if (!held.isValid()) held.start(), underTheBox = snapshot();
            if (held.elapsed() < 100) return true;
            if (underTheBox) stoodStill = snapshot() == *underTheBox, underTheBox.reset();
            return false;
        };
        if (shot) script.then([&] { return window->turn().charging(); }, [&] { window->turn().goClicked(); });
        script.then([&] { return shot ? g().shotInProgress : window->turn().charging(); }, command);
        script.chooseFile(path);
        window->turn().mouseUp();
        window->scheduler().start();
        bool runOutlivedTheCommand = false;  // a run that never ends is closed after a while: a failure, not a hang
        QTimer::singleShot(20000, window, [&] {
            runOutlivedTheCommand = true;
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
            if (window) window->close();
        });
        QTRY_VERIFY_WITH_TIMEOUT(script.done() && (!window || !window->turn().running()), 30000);
        QVERIFY(!runOutlivedTheCommand && ranDuringTheRun && stoodStill && !window->turn().charging() && !g().shotInProgress);
        QVERIFY(f.app->mainWindow() == window.data() && g().seats[1].friction == 98.0f);  // the saved game's
        for (int i = 1; i <= 2; ++i) QVERIFY(g().velocityX[i] == 0.0f && g().velocityY[i] == 0.0f);
        QVERIFY(!window->turn().controls().goButton.box.visible && !window->turn().shownGame().board.pointer.visible);
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
        QCOMPARE(capzel::ui::keepFinishedRecord(f.window().platform(), folder, game(1002), "{}"), std::string());
        QCOMPARE(QDir(QString::fromStdString(folder)).entryList(QDir::Files).size(), 1000);
        for (int k = 0; k < 1003; ++k) QCOMPARE(capzel::ui::findFinishedRecord(folder, game(k)).has_value(), k >= 3);
    }
};

CAPZEL_QT_TEST(GameFilesTest)
#include "tst_game_files.moc"
