// A game played in the main window: the power bar's paints, replays, the computer's turns,
// what goes first when the windows close, and games watched, exported and dropped.
#include <QChartView>
#include <nlohmann/json.hpp>

#include "desktop/ComputerPlay.h"
#include "desktop/HistoryFile.h"
#include "desktop/ProgramFolder.h"
#include "desktop/RecordStore.h"
#include "players/PlannedShot.h"
#include "records/GameRecord.h"
#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "ui/charts/GameChart.h"
#include "ui/watch/WatchWindow.h"
#include "ui/windows/GameHistoryWindow.h"
#include "ui/windows/StatusWindow.h"
#include "ui/windows/Twips.h"

using capzel::PlayerKind;
using capzel::TurnPhase;

namespace {

// The regions of the paints a widget receives.
class PaintLog : public QObject {
public:
    QList<QRegion> regions;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) regions.append(static_cast<QPaintEvent*>(e)->region());
        return false;
    }
};

}  // namespace

class PlayTest : public capzel::test::UiTest {
    Q_OBJECT

    capzel::test::WindowFixture f;

    capzel::ui::MainWindow& w() { return f.window(); }
    std::uint64_t hash() { return f.game().hash(); }

    // The running game ends as finished at `when`: record kept, history line added, Game History opened.
    bool keepAsFinished(const char* when) {
        const capzel::HistoryGame done = capzel::finishedGame(f.game(), when);
        const bool kept = capzel::ui::keepFinishedRecord(w().platform(), capzel::ui::recordsFolder(), done,
                                                         capzel::writeGameRecord(f.app->session().record())).empty() &&
                          capzel::ui::addToHistoryFile(capzel::ui::historyFile(), done).added;
        f.app->showHistory();
        return kept;
    }
    // Plays the watched game through, fast, from `row` to `last`.
    static bool watchThrough(capzel::ui::WatchWindow* watch, int row, int last) {
        watch->fastBox()->setChecked(true);
        watch->shotList()->setCurrentRow(row);
        watch->setPlaying(true);
        return QTest::qWaitFor([&] { return watch->shownShot() == last && !watch->playing(); }, 60000);
    }

private slots:
    void init() { QVERIFY(f.open()); }
    void cleanup() { f.close(); }

    // Ticks repaint the bar's rectangle alone, at most once a frame; the picture on screen ends on the bar's last row.
    void barTicksRepaintTheBarOnceAFrame() {
        f.play();
        capzel::test::aim(w());
        w().turn().mouseUp();
        w().showProgress();
        QTRY_VERIFY(!w().view()->isStale());
        PaintLog log;
        w().view()->installEventFilter(&log);
        const capzel::PowerBar& model = w().turn().controls().powerBar;
        const QRect bar = capzel::ui::pxRect(model.box.left, model.box.top, model.box.width, model.box.height).toAlignedRect();
        QElapsedTimer spent;
        spent.start();
        for (int k = 0; k < 40; ++k) {
            for (const int before = model.revision; model.revision == before;) w().turn().advance();
            w().showProgress();
            QCoreApplication::processEvents();
        }
        QTRY_VERIFY(!w().view()->isStale());
        const qint64 frames = spent.elapsed() * std::max(1, int(w().screen()->refreshRate())) / 1000;
        QVERIFY2(log.regions.size() <= frames + 1, qPrintable(QString("%1 paints, %2 frames").arg(log.regions.size()).arg(frames)));
        for (const QRegion& r : log.regions) QCOMPARE(r, QRegion(bar));
        w().view()->removeEventFilter(&log);

        // On screen (not a fresh rendering): the last row drawn blue, the one above the level white.
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

    // New during a charge or a shot: the window goes with its run, the next game starts afresh.
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

    // A shot replayed ends where it ended, Undo waits for it; a window closed mid-replay draws its own field.
    void replay() {
        f.play();
        capzel::test::aim(w());
        QVERIFY(capzel::test::shoot(w()));
        const capzel::Game played = f.game();
        w().menus().replayAction->trigger();
        QVERIFY(w().turn().phase() == TurnPhase::Replaying && !w().menus().undoAction->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!w().turn().running(), 60000);
        QVERIFY(w().menus().undoAction->isEnabled() && f.game() == played);

        capzel::ui::MainWindow& closed = w();
        closed.menus().replayAction->trigger();
        for (int k = 0; k < 30; ++k) closed.turn().advance();
        closed.close();
        QCoreApplication::processEvents();
        const capzel::FieldMarkings marks = capzel::makeFieldMarkings();
        capzel::ui::FieldView own(closed.turn(), marks, nullptr);
        own.resize(closed.view()->size());
        QCOMPARE(closed.view()->grab().toImage(), own.grab().toImage());
    }

    // The computer plays with no bar for the person; its messages pass by themselves (a box open 0.5 s is answered).
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
        QVERIFY(f.game() == before && !w().turn().running() && !w().turn().shownGame().board.pointer.visible);
        f.change([](capzel::Game& g) { g.gameRunning = false; });
        QTRY_VERIFY(!w().view()->suggestion() && !suggest->isEnabled());
    }

    // The view, the scheduler and the computer's play go while the window is whole; the status window while the application is.
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

    // Three shots, two taken back and played again, watched from their record (the game put aside and back
    // untouched) and from Game History; a record that plays otherwise, and a hostile one.
    void gamesWatchedFromTheirRecords() {
        QVERIFY(f.startGame({QStringLiteral("Ann"), QStringLiteral("Bob")}));
        for (int shot = 0; shot < 3; ++shot) {
            capzel::test::aim(w());
            QVERIFY(capzel::test::shoot(w(), std::int16_t(3000 + 500 * shot)));
        }
        const std::uint64_t played = hash();
        f.modals->answers = {QStringLiteral("Yes")};
        for (QAction* a : {w().menus().undoAction, w().menus().undoAction, w().menus().redoAction, w().menus().redoAction}) a->trigger();
        QVERIFY(hash() == played && !w().menus().redoAction->isEnabled());

        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("game.json")).toStdString();
        QCOMPARE(capzel::saveGameRecord(w().platform(), path, f.app->session().record()), std::string());
        const auto closeWatch = [this] { f.app->watchWindow()->close(); return QTest::qWaitFor([this] { return !f.app->watchWindow(); }); };
        f.app->watchRecordFile(path);
        capzel::ui::WatchWindow* watch = f.app->watchWindow();
        QVERIFY(watch && !w().isVisible());
        QVERIFY2(watch->windowTitle().startsWith(QStringLiteral("Watch - Ann, Bob - 20")), qPrintable(watch->windowTitle()));
        QCOMPARE(watch->shotList()->count(), 8);  // the start, three shots, two taken back, two again
        QVERIFY(watch->shotList()->item(2)->text().startsWith(QStringLiteral("2. Bob: ")));
        QCOMPARE(watch->shotList()->item(5)->text(), QStringLiteral("5. The last shot was taken back."));
        QVERIFY(watch->chart()->findChild<QChartView*>(QStringLiteral("scoreChart")) && watch->notice()->isHidden());
        QVERIFY(watchThrough(watch, 0, 7) && watch->corrections() == 0);
        watch->shotList()->setCurrentRow(1);
        QCOMPARE(watch->shownShot(), 1);
        QVERIFY(closeWatch() && w().isVisible() && hash() == played);

        QVERIFY(keepAsFinished("2026-12-08 10:00"));
        capzel::ui::GameHistoryWindow* history = f.app->historyWindow();
        QVERIFY(!history->watchButton()->isEnabled());
        history->gameList()->setCurrentIndex(history->gameList()->model()->index(0, 0));
        history->watchButton()->click();
        QVERIFY(f.app->watchWindow() && f.app->watchWindow()->shotList()->count() == 8 && closeWatch());
        history->close();

        const nlohmann::json kept = nlohmann::json::parse(capzel::writeGameRecord(f.app->session().record()));
        nlohmann::json changed = kept;
        changed["entries"][1]["hash"] = "0000000000000001";
        QCOMPARE(w().platform().writeFile(path, changed.dump()), std::string());
        f.app->watchRecordFile(path);
        QVERIFY(f.app->watchWindow());
        const QString notice = f.app->watchWindow()->notice()->text();
        QVERIFY2(notice.startsWith(QStringLiteral("Shot 2 of this record does not play as recorded")) &&
                     notice.contains(QStringLiteral("shown up to shot 1")) && !notice.contains(QStringLiteral("version")), qPrintable(notice));
        QVERIFY(closeWatch());

        nlohmann::json hostile = kept;
        hostile["entries"][2]["seat"] = 9;
        QCOMPARE(w().platform().writeFile(path, hostile.dump()), std::string());
        f.modals->boxes.clear();
        f.app->watchRecordFile(path);
        QTRY_COMPARE(f.modals->messages().size(), 1);
        QVERIFY2(f.modals->messages().constLast().contains(QStringLiteral(": shot 3 (/entries/2/seat: ")), qPrintable(f.modals->messages().join('|')));
        QVERIFY(f.app->watchWindow() == nullptr && w().isVisible() && hash() == played);
    }

    // Export Game Record... of the running game and of a Game History row writes the record; one dropped on the window is watched.
    void exportedRecordsAndADroppedOneIsWatched() {
        QVERIFY(f.startGame({QStringLiteral("Ann"), QStringLiteral("Bob")}));
        capzel::test::aim(w());
        QVERIFY(capzel::test::shoot(w(), 3000));
        QTemporaryDir dir;
        const auto holdsTheShot = [](const QString& path) {
            QFile file(path);
            const auto record = file.open(QIODevice::ReadOnly) ? capzel::readGameRecord(file.readAll().toStdString(), nullptr) : std::nullopt;
            return record && record->shotCount() == 1;
        };
        const QString running = dir.filePath(QStringLiteral("running.json"));
        f.modals->chooseFile(running);
        w().menus().exportRecordAction->trigger();
        QVERIFY(holdsTheShot(running));
        QCOMPARE(f.modals->fileDialogs.constLast().title, QStringLiteral("Export Game Record"));

        QVERIFY(keepAsFinished("2026-12-09 10:00"));
        capzel::ui::GameHistoryWindow* history = f.app->historyWindow();
        history->gameList()->setCurrentIndex(history->gameList()->model()->index(0, 0));
        const QString kept = dir.filePath(QStringLiteral("kept.json"));
        f.modals->chooseFile(kept);
        history->exportButton()->click();
        QVERIFY(holdsTheShot(kept));
        history->close();

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(kept)});
        QDragEnterEvent enter(QPoint(40, 40), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w(), &enter);
        QDropEvent drop(QPointF(40, 40), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w(), &drop);
        QVERIFY(enter.isAccepted() && drop.isAccepted());
        QTRY_VERIFY(f.app->watchWindow() && f.app->watchWindow()->game().shotCount() == 1);
        f.app->watchWindow()->close();
    }
};

CAPZEL_QT_TEST(PlayTest)
#include "tst_play.moc"
