// A game played in the main window: the bar's paints, replays, the computer's turns, closing, records watched.
#include <QChartView>
#include <nlohmann/json.hpp>

#include "desktop/ComputerPlay.h"
#include "desktop/HistoryFile.h"
#include "desktop/ProgramFolder.h"
#include "desktop/RecordStore.h"
#include "records/GameRecord.h"
#include "support/QtTestMain.h"
#include "ui/charts/GameChart.h"
#include "ui/watch/WatchWindow.h"
#include "ui/windows/GameHistoryWindow.h"
#include "ui/windows/StatusWindow.h"

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

class PlayTest : public capzel::test::WindowTest {
    Q_OBJECT

    capzel::ui::MainWindow& w() { return f.window(); }
    std::uint64_t hash() { return f.game().hash(); }

private slots:
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
        QVERIFY(shown.pixelColor(bar.center().x(), top - 2) == Qt::white && top - 2 > bar.top());
    }

    // A shot replayed ends where it ended, Undo waits for it; a window closed mid-replay draws its own field.
    void replay() {
        f.play();
        capzel::test::aim(w());
        QVERIFY(capzel::test::shoot(w()));
        const capzel::Game played = f.game();
        w().menus().replayAction->trigger();
        QVERIFY(w().turn().phase() == TurnPhase::Replaying && !w().menus().undoAction->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!w().turn().running() && w().menus().undoAction->isEnabled() && f.game() == played, 60000);

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
        QVERIFY2(f.modals->messages().first().startsWith("Bob's turn start") && f.game().shotsTaken >= 1, qPrintable(f.modals->messages().join('|')));
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

    // Three shots, two taken back and played again, exported and watched from the file (the game put aside and
    // back untouched), from Game History and dropped on the window; a record that plays otherwise, and a hostile one.
    void gamesExportedAndWatched() {
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
        const auto exported = [&](const char* name, const std::function<void()>& command) {
            const QString path = dir.filePath(QString::fromLatin1(name));
            f.modals->chooseFile(path);
            command();
            const auto record = capzel::readGameRecord(capzel::test::readBytes(path).toStdString(), nullptr);
            const bool whole = record && record->entries == f.app->session().record().entries;
            return whole && f.modals->fileDialogs.constLast().title == "Export Game Record" ? path : QString();
        };
        const std::string path = exported("game.json", [this] { w().menus().exportRecordAction->trigger(); }).toStdString();
        QVERIFY(!path.empty());
        const auto closeWatch = [this] { f.app->watchWindow()->close(); return QTest::qWaitFor([this] { return !f.app->watchWindow(); }); };
        f.app->watchRecordFile(path);
        capzel::ui::WatchWindow* watch = f.app->watchWindow();
        QVERIFY(watch && !w().isVisible());
        QVERIFY2(watch->windowTitle().startsWith(QStringLiteral("Watch - Ann, Bob - 20")), qPrintable(watch->windowTitle()));
        QCOMPARE(watch->shotList()->count(), 8);  // the start, three shots, two taken back, two again
        QVERIFY(watch->shotList()->item(2)->text().startsWith(QStringLiteral("2. Bob: ")));
        QCOMPARE(watch->shotList()->item(5)->text(), QStringLiteral("5. The last shot was taken back."));
        QVERIFY(watch->chart()->findChild<QChartView*>(QStringLiteral("scoreChart")) && watch->notice()->isHidden());
        watch->fastBox()->setChecked(true), watch->shotList()->setCurrentRow(0), watch->setPlaying(true);  // played through, fast
        QTRY_VERIFY_WITH_TIMEOUT(watch->shownShot() == 7 && !watch->playing() && watch->corrections() == 0, 60000);
        watch->shotList()->setCurrentRow(1);
        QVERIFY(watch->shownShot() == 1 && closeWatch() && w().isVisible() && hash() == played);

        const capzel::HistoryGame done = capzel::finishedGame(f.game(), "2026-12-08 10:00");  // kept as at the game's end
        QVERIFY(capzel::ui::keepFinishedRecord(w().platform(), capzel::ui::recordsFolder(), done, capzel::writeGameRecord(f.app->session().record())).empty());
        QVERIFY(capzel::ui::addToHistoryFile(capzel::ui::historyFile(), done).added);
        f.app->showHistory();
        capzel::ui::GameHistoryWindow* history = f.app->historyWindow();
        QVERIFY(!history->watchButton()->isEnabled());
        history->gameList()->setCurrentIndex(history->gameList()->model()->index(0, 0));
        history->watchButton()->click();
        QVERIFY(f.app->watchWindow() && f.app->watchWindow()->shotList()->count() == 8 && closeWatch());
        const QString kept = exported("kept.json", [history] { history->exportButton()->click(); });
        QVERIFY(!kept.isEmpty());
        history->close();

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(kept)});
        QDragEnterEvent enter(QPoint(40, 40), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w(), &enter);
        QDropEvent drop(QPointF(40, 40), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w(), &drop);
        QVERIFY(enter.isAccepted() && drop.isAccepted());
        QTRY_VERIFY(f.app->watchWindow());
        QCOMPARE(f.app->watchWindow()->shotList()->count(), 8);
        QVERIFY(closeWatch());

        const nlohmann::json record = nlohmann::json::parse(capzel::writeGameRecord(f.app->session().record()));
        nlohmann::json changed = record;
        changed["entries"][1]["hash"] = "0000000000000001";
        QCOMPARE(w().platform().writeFile(path, changed.dump()), std::string());
        f.app->watchRecordFile(path);
        QVERIFY(f.app->watchWindow());
        const QString notice = f.app->watchWindow()->notice()->text();
        QVERIFY2(notice.startsWith(QStringLiteral("Shot 2 of this record does not play as recorded")) &&
                     notice.contains(QStringLiteral("shown up to shot 1")) && !notice.contains(QStringLiteral("version")), qPrintable(notice));
        QVERIFY(closeWatch());

        nlohmann::json hostile = record;
        hostile["entries"][2]["seat"] = 9;
        QCOMPARE(w().platform().writeFile(path, hostile.dump()), std::string());
        f.modals->boxes.clear();
        f.app->watchRecordFile(path);
        QTRY_COMPARE(f.modals->messages().size(), 1);
        QVERIFY2(f.modals->messages().constLast().contains(QStringLiteral(": shot 3 (/entries/2/seat: ")), qPrintable(f.modals->messages().join('|')));
        QVERIFY(f.app->watchWindow() == nullptr && w().isVisible() && hash() == played);
    }
};

CAPZEL_QT_TEST(PlayTest)
#include "tst_play.moc"
