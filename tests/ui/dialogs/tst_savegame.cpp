// Save and Load through the windows: a round trip, Load during a charge or shot.
#include <QAction>
#include <optional>
#include <tuple>

#include "controls/Aiming.h"
#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "ui/desktop/ProgramFolder.h"
#include "ui/windows/StepScheduler.h"

using capzel::ui::MainWindow;

namespace {
const QString kBob = QStringLiteral("Bob \"B\" Jr, the 2nd");
const QString kBobSaved = QStringLiteral("Bob 'B' Jr, the 2nd");
const QString kLoadQuestion =
    QStringLiteral("Loading a game will end the current game.  Are you sure you want to load?");
}  // namespace

class SaveGameTest : public QObject {
    Q_OBJECT

    capzel::test::WindowFixture f;
    QTemporaryDir dir_;

    capzel::GameState& g() { return f.state(); }
    void save(const QString& path) {
        f.modals->chooseFile(path);
        f.window().menus().saveAction->trigger();
        QVERIFY(f.modals->done());
    }

private slots:
    void initTestCase() {
        capzel::test::quietOffscreenNotices();
        QVERIFY(dir_.isValid());
        capzel::ui::setProgramFolder(dir_.path().toStdString());
    }
    void init() {
        QVERIFY(f.open());
        QVERIFY(f.startGame({"Ann", kBob}));
    }
    void cleanup() { f.close(); }

    void newPlaySaveLoad() {
        MainWindow* window = &f.window();
        g().isKiller[2] = true;
        g().score[1] = 321;
        g().currentTurn = 2;
        const QString path = dir_.filePath(QStringLiteral("game.CSG"));
        save(path);
        QCOMPARE(f.modals->fileDialogs.value(0).mode, QFileDialog::AcceptSave);
        QCOMPARE(f.modals->fileDialogs.value(0).filter, QStringLiteral("Capzel save game (*.CSG)"));

        // The game changes; the load brings the saved one back.
        g().score[1] = 5;
        g().isKiller[2] = false;
        g().currentTurn = 1;
        f.modals->boxes.clear();
        f.modals->answers = QStringList{"Yes"};
        f.modals->chooseFile(path);
        window->menus().loadAction->trigger();
        QVERIFY(f.modals->done());
        QCOMPARE(f.modals->messages(), (QStringList{kLoadQuestion, kBobSaved + QStringLiteral("'s turn start.  KILLER")}));
        QCOMPARE(QDir(f.modals->fileDialogs.value(1).folder), QDir(dir_.path()));
        // The turn starts under the busy pointer, but its box shows the normal one.
        QCOMPARE(f.modals->boxes.last().pointer, Qt::ArrowCursor);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(&f.window(), window);  // no window reopened
        QCOMPARE(int(g().currentTurn), 2);
        QCOMPARE(g().score[1], 321);
        QVERIFY(g().isKiller[2]);
    }

    // Load during a run: under its question the run stands still, then nothing of it is left.
    void loadDuringARun_data() {
        QTest::addColumn<bool>("shot");
        QTest::newRow("during a charge") << false;
        QTest::newRow("during a shot") << true;
    }
    void loadDuringARun() {
        QFETCH(bool, shot);
        const QString path = dir_.filePath(QStringLiteral("loop.CSG"));
        save(path);
        QPointer<MainWindow> window(&f.window());
        capzel::GameContext ctx = window->context();

        // Aim away from the piece, release: the power bar charges.
        const capzel::Box& piece = ctx.piece(1);
        window->turn().mouseMove(capzel::kLeftButton, 0, piece.left + 900, piece.top + 700);
        g().friction[1] = 100;  // the piece never slows down: the shot lasts until it is ended
        bool ranDuringTheRun = false;
        auto command = [&] {
            ranDuringTheRun = window && window->turn().running() && (window->turn().charging() || g().shotInProgress);
            f.app->loadGame();
        };
        // The question waits 100 ms unanswered: the run must not move meanwhile.
        auto snapshot = [&] { return std::tuple(int(g().power), piece.left, piece.top); };
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
        // A run that never ends is closed after a while: a failure, not a hang.
        bool runOutlivedTheCommand = false;
        QTimer::singleShot(20000, window, [&] {
            runOutlivedTheCommand = true;
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
            if (window) window->close();
        });
        QTRY_VERIFY_WITH_TIMEOUT(script.done() && (!window || !window->turn().running()), 30000);
        QVERIFY(!runOutlivedTheCommand);
        QVERIFY(ranDuringTheRun);
        QVERIFY(stoodStill);
        QVERIFY(!window->turn().charging() && !g().shotInProgress);

        QCOMPARE(f.app->mainWindow(), window.data());
        QCOMPARE(g().friction[1], 98.0f);
        for (int i = 1; i <= 2; ++i) QVERIFY(window->field().velocityX[i] == 0.0f && window->field().velocityY[i] == 0.0f);
        QVERIFY(!window->turn().controls().goButton.box.visible);
        QVERIFY(!window->field().board.pointer.visible);
    }
};

CAPZEL_QT_TEST(SaveGameTest)
#include "tst_savegame.moc"
