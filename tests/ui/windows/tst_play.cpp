// A game played in the main window: the power bar's paints, shots at normal
// pace, fast and replayed, the computer's turns and suggestions, and what
// goes first when the windows close. Games watched from their records; a
// hidden command during a shot, watched; exported and dropped records.
#include <QAction>
#include <QChartView>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPaintEvent>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTreeView>
#include <nlohmann/json.hpp>

#include "players/PlannedShot.h"
#include "records/GameRecord.h"
#include "session/GameSession.h"
#include "match/RecordReplay.h"
#include "model/WindowState.h"
#include "support/QtTestMain.h"
#include "support/RunDriver.h"
#include "support/WindowFixture.h"
#include "ui/charts/GameChart.h"
#include "desktop/HistoryFile.h"
#include "desktop/ProgramFolder.h"
#include "desktop/RecordStore.h"
#include "ui/watch/WatchWindow.h"
#include "desktop/ComputerPlay.h"
#include "ui/windows/GameHistoryWindow.h"
#include "ui/windows/StatusWindow.h"
#include "ui/windows/Twips.h"

using capzel::PlayerKind;
using capzel::TurnPhase;

namespace {

// The paints a widget receives, with the region of each.
class PaintLog : public QObject {
public:
    QList<QRegion> regions;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) regions.append(static_cast<QPaintEvent*>(e)->region());
        return false;
    }
};

}  // namespace

class PlayTest : public QObject {
    Q_OBJECT

    capzel::test::WindowFixture f;

    capzel::ui::MainWindow& w() { return f.window(); }
    std::uint64_t hash() { return f.game().hash(); }

    // The running game ends as finished at `when`: its record kept, its
    // history line added, and Game History opened.
    bool keepAsFinished(const char* when) {
        const capzel::HistoryGame finished = capzel::finishedGame(f.game(), when);
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

    // Ticks repaint the bar's rectangle alone, the ticks of one frame once,
    // and the picture on screen ends on the bar's last row.
    void barTicksRepaintTheBarOnceAFrame() {
        f.play();
        capzel::test::aim(w());
        w().turn().mouseUp();
        w().showProgress();
        QTRY_VERIFY(!w().view()->isStale());  // the bar shown, empty
        PaintLog log;
        w().view()->installEventFilter(&log);
        const capzel::PowerBar& model = w().turn().controls().powerBar;
        const QRect bar = capzel::ui::pxRect(model.box.left, model.box.top, model.box.width, model.box.height).toAlignedRect();
        QElapsedTimer spent;
        spent.start();
        constexpr int kTicks = 40;
        for (int k = 0; k < kTicks; ++k) {
            for (const int before = model.revision; model.revision == before;) w().turn().advance();
            w().showProgress();
            QCoreApplication::processEvents();
        }
        QTRY_VERIFY(!w().view()->isStale());
        // Paints a frame apart at least, the last one included.
        const qint64 frames = spent.elapsed() * std::max(1, int(w().screen()->refreshRate())) / 1000;
        QVERIFY2(log.regions.size() <= frames + 1,
                 qPrintable(QString("%1 paints for %2 ticks in %3 frames").arg(log.regions.size()).arg(kTicks).arg(frames)));
        for (const QRegion& r : log.regions) QCOMPARE(r, QRegion(bar));
        w().view()->removeEventFilter(&log);

        // What the window shows on screen (not a fresh rendering): the last
        // row drawn is blue, the row above the level white.
        const QPoint at = w().view()->mapTo(&w(), QPoint(0, 0));
        const QImage shown =
            w().screen()->grabWindow(w().winId(), at.x(), at.y(), w().view()->width(), w().view()->height()).toImage();
        int top = bar.bottom();
        for (const capzel::PowerBar::Span& s : model.drawn)
            top = std::min(top, int(std::floor(capzel::ui::px(double(model.box.top) + std::min(s.top, s.bottom)))));
        QCOMPARE(shown.pixelColor(bar.center().x(), top), QColor(0, 0, 255));
        QCOMPARE(shown.pixelColor(bar.center().x(), top - 2), QColor(Qt::white));
        QVERIFY(top - 2 > bar.top());
    }

    // New during a charge or a shot: the window goes with its run, and the
    // next game starts afresh.
    void newDuringARun() {
        for (TurnPhase during : {TurnPhase::Charging, TurnPhase::Shooting}) {
            f.play();
            capzel::test::aim(w());
            w().turn().mouseUp();
            if (during == TurnPhase::Shooting) w().turn().goClicked();
            w().scheduler().start();
            QTRY_COMPARE(w().turn().phase(), during);
            QPointer<capzel::ui::MainWindow> old(&w());
            f.modals->answers = {"Yes"};
            QVERIFY(f.startGame({"Cy", "Di"}));
            QTRY_VERIFY(old.isNull());
            QCOMPARE(f.modals->messages().constLast(), QStringLiteral("Cy's turn start.  Target: 2"));
            QVERIFY(!w().turn().running() && f.game().seats[1].position == 1);
        }
    }

    // Undone and played fast, then replayed: the pieces end as at normal pace.
    // A window closed during a replay then draws its own field, as a view of
    // that field alone does: the replay's copy went with it.
    void fastForwardAndReplay() {
        f.modals->answers = {"Yes"};
        f.play();
        capzel::test::aim(w());
        QVERIFY(capzel::test::shoot(w()));
        const auto normal = f.board().pieces;
        w().menus().undoAction->trigger();
        QCOMPARE(f.game().currentTurn, std::int16_t(1));
        capzel::test::aim(w());
        w().menus().fastForwardAction->trigger();
        QVERIFY(w().scheduler().fast());
        QVERIFY(capzel::test::shoot(w()));
        w().menus().replayAction->trigger();
        QCOMPARE(w().turn().phase(), TurnPhase::Replaying);
        QVERIFY(!w().menus().undoAction->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!w().turn().running(), 60000);
        QVERIFY(w().menus().undoAction->isEnabled());
        for (int i = 1; i <= 2; ++i)
            QCOMPARE(std::pair(f.board().pieces[i].left, f.board().pieces[i].top), std::pair(normal[i].left, normal[i].top));

        capzel::ui::MainWindow& closed = w();
        closed.menus().replayAction->trigger();
        for (int k = 0; k < 30; ++k) closed.turn().advance();
        QCOMPARE(closed.turn().phase(), TurnPhase::Replaying);
        closed.close();
        QCoreApplication::processEvents();
        const capzel::FieldMarkings marks = capzel::makeFieldMarkings();
        capzel::ui::FieldView own(closed.turn(), marks, nullptr);
        own.resize(closed.view()->size());
        QCOMPARE(closed.view()->grab().toImage(), own.grab().toImage());
    }

    // The computer plays its turn with no bar for the person; its messages pass
    // by themselves (a person answers a box still open after 0.5 s) until the
    // person's turn starts.
    void computersTurnOnScreen() {
        f.platform().passingMessageMs = 100;
        f.modals->holdBoxes = [box = QPointer<QWidget>(), open = QElapsedTimer()]() mutable {
            if (box != QApplication::activeModalWidget()) box = QApplication::activeModalWidget(), open.start();
            return open.elapsed() < 500;
        };
        f.play(PlayerKind::Novice, PlayerKind::Human);
        QTest::mouseClick(w().view(), Qt::LeftButton, Qt::NoModifier, QPoint(105, 480));
        QVERIFY(!w().turn().running());
        QTRY_VERIFY_WITH_TIMEOUT(!f.modals->messages().isEmpty(), 60000);
        QVERIFY2(f.modals->messages().first().startsWith("Bob's turn start"), qPrintable(f.modals->messages().join('|')));
        QVERIFY(f.game().shotsTaken >= 1);
    }

    // Suggest Shot draws the computer's aim and changes nothing of the game.
    void suggestionLeavesTheGameAlone() {
        f.play(PlayerKind::Human, PlayerKind::Expert);
        QAction* suggest = w().menus().suggestShotAction;
        QTRY_VERIFY(suggest->isEnabled());
        const capzel::Game before = f.game();
        suggest->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(w().view()->suggestion().has_value(), 30000);
        QCOMPARE(w().view()->suggestion()->x1, capzel::players::aimStartX(before.board.pieces[1]));
        for (int i = 1; i <= 2; ++i) QCOMPARE(f.board().pieces[i].left, before.board.pieces[i].left);
        QVERIFY(!w().turn().running() && !w().turn().shownGame().board.pointer.visible && f.game().currentTurn == 1);
        f.change([](capzel::Game& g) { g.gameRunning = false; });
        QTRY_VERIFY(!w().view()->suggestion() && !suggest->isEnabled());
    }

    void closingWhileTheComputerThinks() {
        f.play(PlayerKind::Expert, PlayerKind::Expert);
        capzel::ui::MainWindow& closed = w();
        QTRY_VERIFY(closed.computerPlay().turn() && closed.computerPlay().turn()->stage() == capzel::ComputerTurn::Stage::Thinking);
        closed.menus().exitAction->trigger();  // File > Exit: every window closes
        const capzel::ComputerTurn* thinking = f.app->session().computerTurn();
        QVERIFY(thinking && !thinking->running() && !closed.turn().running());
    }

    // The view, the scheduler and the computer's play go while the window is
    // whole (its field, turn and platform still there); the status window
    // while the application and its game state are.
    void windowsGoBeforeWhatTheyRead() {
        f.play();
        f.key(Qt::Key_S, Qt::ControlModifier);  // Game Status
        QVERIFY(f.app->statusWindow());
        const QList<QObject*> users = {static_cast<QObject*>(w().view()), &w().scheduler(), &w().computerPlay()};
        int goneWhole = 0;
        for (QObject* child : users)
            connect(child, &QObject::destroyed, this,
                    [&, window = static_cast<QObject*>(&w())] { goneWhole += qobject_cast<capzel::ui::MainWindow*>(window) != nullptr; });
        connect(f.app->statusWindow(), &QObject::destroyed, this,
                [&, app = static_cast<QObject*>(f.app.get())] { goneWhole += qobject_cast<capzel::ui::CapzelApp*>(app) != nullptr; });
        f.app.reset();
        QCOMPARE(goneWhole, int(users.size()) + 1);
    }

    // A three-shot game taken back and played again from the menu, watched
    // from its record (the shot list, the chart, the game in progress put
    // aside and back untouched), and a hostile record refused by the field it
    // gets wrong.
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
        QVERIFY2(watch->windowTitle().startsWith(QStringLiteral("Watch - Ann, Bob - 20")), qPrintable(watch->windowTitle()));
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

        // A shot that ends otherwise than recorded: named as the list counts, the version not blamed.
        const nlohmann::json kept = nlohmann::json::parse(capzel::writeGameRecord(f.app->session().record()));
        nlohmann::json changed = kept;
        changed["entries"][1]["hash"] = "0000000000000001";
        QCOMPARE(w().platform().writeFile(path, changed.dump()), std::string());
        f.app->watchRecordFile(path);
        QVERIFY(f.app->watchWindow());
        const QString notice = f.app->watchWindow()->notice()->text();
        QVERIFY2(notice.startsWith(QStringLiteral("Shot 2 of this record does not play as recorded")) &&
                     notice.contains(QStringLiteral("shown up to shot 1")) && notice.contains(QStringLiteral("(/entries/1")) &&
                     !notice.contains(QStringLiteral("version")),
                 qPrintable(notice));
        f.app->watchWindow()->close();
        QTRY_VERIFY(f.app->watchWindow() == nullptr);

        // A seat that is not a player: refused by name, the shot first as
        // the list counts it, the game untouched.
        nlohmann::json hostile = kept;
        hostile["entries"][2]["seat"] = 9;
        QCOMPARE(w().platform().writeFile(path, hostile.dump()), std::string());
        const qsizetype seen = f.modals->messages().size();
        f.app->watchRecordFile(path);
        QTRY_COMPARE(f.modals->messages().size(), seen + 1);
        QVERIFY2(f.modals->messages().constLast().contains(QStringLiteral(": shot 3 (/entries/2/seat: ")),
                 qPrintable(f.modals->messages().constLast()));
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
        QVERIFY(!session.turn().fire(session.turn().pendingShot(3000)));
        for (int k = 0; k < 50; ++k) session.turn().advance();
        ui.inputAnswers = {"2", "13"};
        session.runCommand(capzel::HiddenCommandKind::SetPosition);
        capzel::test::drive(session.turn(), ui);
        session.advanced();
        QCOMPARE(std::get<capzel::RecordedShot>(session.record().entries.at(0)).midShot.size(), 1u);

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
        QCOMPARE(f.modals->fileDialogs.constLast().title, QStringLiteral("Export Game Record"));

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
};

CAPZEL_QT_TEST(PlayTest)
#include "tst_play.moc"
