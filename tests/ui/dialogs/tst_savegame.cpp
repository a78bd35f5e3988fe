// A whole game's records through the windows: New, Play, the first turn,
// Save Game to a file, Load Game back; a refused file; and New or Load
// while a charge or a shot runs inside the main window. The file's format,
// the refusals and the commands' questions and messages are the core's
// (tests/core/records_*).
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "controls/Aiming.h"
#include "support/GameApp.h"
#include "support/ModalScript.h"
#include "support/QtTestMain.h"
#include "ui/StatusWindow.h"
#include "ui/ProgramFolder.h"
#include "ui/StepScheduler.h"
#include "ui/MainWindow.h"
#include "ui/NewGameDialog.h"

using capzel::test::GameApp;
using capzel::test::ModalScript;
using capzel::ui::MainWindow;

namespace {
const QString kBob = QStringLiteral("Bob \"B\" Jr, the 2nd");
const QString kBobSaved = QStringLiteral("Bob 'B' Jr, the 2nd");
const QString kLoadQuestion =
    QStringLiteral("Loading a game will end the current game.  Are you sure you want to load?");
}  // namespace

class SaveGameTest : public QObject {
    Q_OBJECT

    std::unique_ptr<GameApp> app_;
    QTemporaryDir dir_;

    QString file(const QString& name) const { return dir_.filePath(name); }
    capzel::GameState& g() { return app_->state(); }
    MainWindow* main() { return app_->mainWindow(); }

    // New, two players named Ann and Bob, Play, the first turn's message.
    void startTwoPlayerGame() {
        ModalScript script;
        if (g().gameRunning) script.answer(QMessageBox::Yes);
        script.ok();
        app_->newGame();
        capzel::ui::NewGameDialog* dlg = app_->newGameDialog();
        QVERIFY(dlg);
        dlg->playerCountOption(2)->click();
        dlg->nameEdit(1)->setText(QStringLiteral("Ann"));
        dlg->nameEdit(2)->setText(kBob);
        dlg->playButton()->click();
        QVERIFY(script.done());
        QCOMPARE(script.texts.last(), QStringLiteral("Ann's turn start.  Target: 2"));
        QVERIFY(main() && main()->isVisible());
    }

    void save(const QString& path, QFileDialog::AcceptMode* mode = nullptr, QString* filter = nullptr) {
        ModalScript script;
        script.chooseFile(path, mode, filter);
        main()->menus().saveAction->trigger();
        QVERIFY(script.done());
    }

private slots:
    void initTestCase() {
        capzel::test::quietOffscreenNotices();
        QVERIFY(dir_.isValid());
        capzel::ui::setProgramFolder(dir_.path().toStdString());
    }
    void init() {
        app_ = std::make_unique<GameApp>();
        app_->openMainWindow();
    }
    void cleanup() { app_.reset(); }

    void newPlaySaveLoad() {
        startTwoPlayerGame();
        MainWindow* window = main();
        g().isKiller[2] = true;
        g().score[1] = 321;
        g().currentTurn = 2;

        const QString path = file(QStringLiteral("game.CSG"));
        QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
        QString filter;
        save(path, &mode, &filter);
        QCOMPARE(mode, QFileDialog::AcceptSave);
        QCOMPARE(filter, QStringLiteral("Capzel save game (*.CSG)"));

        // The game goes on and changes; the load brings the saved one back
        // (all that a load sets and keeps is the core's).
        g().score[1] = 5;
        g().isKiller[2] = false;
        g().currentTurn = 1;
        const int statusShown = app_->statusShown;
        QString startFolder;
        Qt::CursorShape pointerOnTurnBox = Qt::BlankCursor;
        {
            ModalScript script;
            script.answer(QMessageBox::Yes)
                .then([] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()) != nullptr; },
                      [&] {
                          startFolder = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())->directory().path();
                      });
            script.chooseFile(path)
                .then([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; },
                      [&] {
                          const QCursor* c = QApplication::overrideCursor();
                          pointerOnTurnBox = c ? c->shape() : Qt::ArrowCursor;
                      })
                .ok();
            window->menus().loadAction->trigger();
            QVERIFY(script.done());
            QCOMPARE(script.texts, (QStringList{kLoadQuestion, kBobSaved + QStringLiteral("'s turn start.  KILLER")}));
        }
        QCOMPARE(QDir(startFolder), QDir(dir_.path()));
        // The turn starts under the busy pointer, but its box shows the normal one.
        QCOMPARE(pointerOnTurnBox, Qt::ArrowCursor);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(main(), window);  // no window reopened
        QVERIFY(g().gameRunning);
        QCOMPARE(int(g().currentTurn), 2);
        QCOMPARE(g().score[1], 321);
        QVERIFY(g().isKiller[2]);
        QCOMPARE(app_->statusShown, statusShown + 1);
        QVERIFY(app_->statusWindow() && app_->statusWindow()->isVisible());
    }

    // A file the reader refuses: its message names the file and the line,
    // and the game, the window and the pointer are as they were.
    void refusedFileLeavesTheGameUntouched() {
        startTwoPlayerGame();
        g().score[2] = 777;
        const float left = main()->field().board.pieces[1].left;
        const int statusShown = app_->statusShown;
        const QString path = QStringLiteral(CAPZEL_TEST_DATA "/saves/broken_nine_players.CSG");
        ModalScript script;
        script.answer(QMessageBox::Yes).chooseFile(path).ok();
        app_->loadGame();
        QVERIFY(script.done());
        QCOMPARE(script.texts.size(), 2);
        QVERIFY2(script.texts[1].contains(path) && script.texts[1].contains("Line 2"), qPrintable(script.texts[1]));
        QCOMPARE(g().score[2], 777);
        QCOMPARE(g().numberOfPlayers, std::int16_t(2));
        QCOMPARE(main()->field().board.pieces[1].left, left);
        QCOMPARE(app_->statusShown, statusShown);
        QVERIFY(QApplication::overrideCursor() == nullptr);  // the busy pointer is gone
    }

    // A charge or a shot runs from the main window's clock; New or Load is
    // chosen during it.
    void commandDuringALoop_data() {
        QTest::addColumn<bool>("load");
        QTest::addColumn<bool>("shot");
        QTest::newRow("New during a charge") << false << false;
        QTest::newRow("New during a shot") << false << true;
        QTest::newRow("Load during a charge") << true << false;
        QTest::newRow("Load during a shot") << true << true;
    }
    void commandDuringALoop() {
        QFETCH(bool, load);
        QFETCH(bool, shot);
        startTwoPlayerGame();
        const QString path = file(QStringLiteral("loop.CSG"));
        save(path);
        QPointer<MainWindow> window(main());
        capzel::GameContext ctx = window->context();

        // Aim away from the piece, release: the power bar charges.
        const capzel::Box& piece = ctx.piece(1);
        capzel::handleMouseMove(ctx, capzel::kLeftButton, 0, piece.left + 900, piece.top + 700);
        g().friction[1] = 100;  // the piece never slows down: the shot lasts until it is ended
        bool ranDuringTheRun = false;

        ModalScript script;
        auto command = [&] {
            ranDuringTheRun = window && window->turn().running() && (g().charging || g().shotInProgress);
            if (load)
                app_->loadGame();
            else
                app_->newGame();
        };
        if (shot)
            script.then([&] { return g().charging; }, [&] { window->turn().goClicked(); })
                .then([&] { return g().shotInProgress; }, command);
        else
            script.then([&] { return g().charging; }, command);
        script.answer(QMessageBox::Yes);
        if (load) script.chooseFile(path).ok();
        window->turn().mouseUp();
        window->scheduler().start();
        // Should the run not end, the window goes after a long while, so a
        // failing run ends with a message rather than hanging.
        bool runOutlivedTheCommand = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [&] {
            runOutlivedTheCommand = true;
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
            if (window) window->close();
        });
        watchdog.start(20000);
        QTRY_VERIFY_WITH_TIMEOUT(script.done() && (!window || !window->turn().running()), 30000);
        QVERIFY(!runOutlivedTheCommand);
        QVERIFY(ranDuringTheRun);
        QVERIFY(!g().charging);
        QVERIFY(!g().shotInProgress);

        if (load) {
            // Same window, the saved game in it, nothing left of the shot.
            QCOMPARE(main(), window.data());
            QCOMPARE(g().friction[1], 98.0f);
            for (int i = 1; i <= 2; ++i) {
                QCOMPARE(window->field().velocityX[i], 0.0f);
                QCOMPARE(window->field().velocityY[i], 0.0f);
            }
            QVERIFY(!window->field().board.goButton.box.visible);
            QVERIFY(!window->field().board.pointer.visible);
        } else {
            QVERIFY(!window->isVisible());
            QVERIFY(app_->newGameDialog() && app_->newGameDialog()->isVisible());
            ModalScript play;
            play.ok();
            app_->newGameDialog()->playButton()->click();
            QVERIFY(play.done());
            QVERIFY(main() != window.data());
            QTRY_VERIFY(window.isNull());  // deleted once back in the event loop
            QVERIFY(!g().shotInProgress);
        }
    }
};

CAPZEL_QT_TEST(SaveGameTest)
#include "tst_savegame.moc"
