// The main window: the states and commands of its menus, and how keys reach
// its handlers.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>
#include <QtTest>
#include <memory>
#include <utility>
#include <vector>

#include "support/BoxAnswerer.h"
#include "support/QtTestMain.h"
#include "support/RecordingApp.h"
#include "support/UrlRecorder.h"
#include "ui/Config.h"
#include "ui/FieldView.h"
#include "ui/QtPlatform.h"
#include "ui/MainWindow.h"

using capzel::Board;
using capzel::kGuideCount;
using capzel::test::BoxAnswerer;
using capzel::test::RecordingApp;
using capzel::ui::MainWindow;

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<RecordingApp> app_;
    MainWindow* w_ = nullptr;

    void sync() { w_->syncMenus(); }
    void key(int k, int modifiers = 0) {
        QTest::keyClick(w_->windowHandle(), Qt::Key(k), Qt::KeyboardModifiers(modifiers));
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }

    void init() {
        app_ = std::make_unique<RecordingApp>();
        w_ = &app_->openMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(w_));
        w_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_));
    }
    void cleanup() {
        app_.reset();
        w_ = nullptr;
    }

    void menuStatesFollowTheWindow() {
        w_->field().hiddenMenuVisible = true;
        w_->field().guideItemVisible = true;
        w_->field().guideLinesChecked = true;
        w_->field().loopChecked = true;
        w_->field().typedKeys = "QU";
        sync();
        QVERIFY(w_->menus().hiddenMenu->menuAction()->isVisible());
        QVERIFY(w_->menus().guideLinesAction->isVisible());
        QVERIFY(w_->menus().guideLinesAction->isChecked());
        QVERIFY(w_->menus().loopAction->isChecked());
        QVERIFY(!w_->menus().highScoresAction->isVisible());  // no command shows it

        // A new main window starts again from the states of a load, without
        // the part of the access word typed into the old one.
        MainWindow* fresh = &app_->openMainWindow();
        QVERIFY(fresh != w_);
        QVERIFY(!fresh->menus().hiddenMenu->menuAction()->isVisible());
        QVERIFY(!fresh->menus().guideLinesAction->isVisible());
        QVERIFY(!fresh->menus().loopAction->isChecked());
        QVERIFY(fresh->field().typedKeys.empty());
        w_ = fresh;
    }

    // Shortcuts act only while their item is shown.
    void shortcutsOfHiddenItems_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("call");
        QTest::newRow("F1 Set Position") << int(Qt::Key_F1) << 0 << "setPositionAction";
        QTest::newRow("F2 Set Friction") << int(Qt::Key_F2) << 0 << "setFrictionAction";
        QTest::newRow("F3 Set Speed") << int(Qt::Key_F3) << 0 << "setSpeedAction";
        QTest::newRow("F4 Set Piece") << int(Qt::Key_F4) << 0 << "setPieceAction";
        QTest::newRow("F5 Set Ingame") << int(Qt::Key_F5) << 0 << "setInGameAction";
        QTest::newRow("F6 Set Guidelines") << int(Qt::Key_F6) << 0 << "setGuidelinesAction";
        QTest::newRow("Ctrl+H High Scores") << int(Qt::Key_H) << int(Qt::ControlModifier) << "showHighScores";
    }
    void shortcutsOfHiddenItems() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, call);
        this->key(key, modifiers);
        QVERIFY(app_->calls.isEmpty());
        w_->field().hiddenMenuVisible = true;
        sync();
        this->key(key, modifiers);
        if (call == QLatin1String("showHighScores")) {
            QVERIFY(app_->calls.isEmpty());  // never shown, never acts
            w_->menus().highScoresAction->trigger();
        }
        QCOMPARE(app_->calls, QStringList{call});
    }

    void menuCommandsReachTheApplication() {
        const auto& m = w_->menus();
        const std::pair<QAction*, const char*> rows[] = {
            {m.newAction, "newGame"}, {m.saveAction, "saveGame"}, {m.loadAction, "loadGame"}, {m.aboutAction, "showAbout"},
            {m.historyAction, "showHistory"},
        };
        for (const auto& [a, call] : rows) {
            app_->calls.clear();
            a->trigger();
            QCOMPARE(app_->calls, QStringList{QString::fromLatin1(call)});
        }
    }

    void guideToggle() {
        Board& b = w_->field().board;
        key(Qt::Key_G, Qt::ControlModifier);
        QVERIFY2(!b.guideLines[0].visible, "the shortcut of the hidden item does nothing");

        w_->field().guideItemVisible = true;  // as the hidden "Set Guidelines" leaves it
        sync();
        b.bringToFront(b.pieces[1]);
        const int before = b.zCounter;
        key(Qt::Key_G, Qt::ControlModifier);
        QVERIFY(w_->menus().guideLinesAction->isChecked());
        QVERIFY(w_->field().guideLinesChecked);
        for (int g = 0; g < kGuideCount; ++g) {
            // Every line there is, over the pieces but under the aim line.
            QCOMPARE(b.guideLines[g].visible, Board::guideExists(g));
            if (!Board::guideExists(g)) continue;
            QVERIFY(b.guideLines[g].z > before);
            QVERIFY(b.pointer.z > b.guideLines[g].z);
        }
        w_->menus().guideLinesAction->trigger();
        QVERIFY(!w_->menus().guideLinesAction->isChecked());
        for (int g = 0; g < kGuideCount; ++g) QVERIFY(!b.guideLines[g].visible);
    }

    // Ctrl+L marks the loop (with the menu item), the item clears it; Next
    // Song (Ctrl+N) is a song end with the window's mark (the rotation
    // itself is in tst_music).
    void musicMenu() {
        app_->state().songCount = 3;
        app_->state().songNumber = 2;
        key(Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(app_->state().songNumber, 3);
        key(Qt::Key_L, Qt::ControlModifier);
        QVERIFY(w_->field().loopChecked);
        QVERIFY(w_->menus().loopAction->isChecked());
        key(Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(app_->state().songNumber, 3);
        w_->menus().loopAction->trigger();
        QVERIFY(!w_->field().loopChecked);
        QVERIFY(!w_->menus().loopAction->isChecked());
    }

    // Key-downs reach the handler once each, with the game's key codes: the
    // modifier keys go down first, each a key-down of its own; shifted
    // digits and punctuation are their keys' codes; the keypad has its own.
    void keysReachTheHandler_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("vk");  // 0: no key-down at all
        QTest::addColumn<int>("shift");
        const int S = Qt::ShiftModifier, C = Qt::ControlModifier, A = Qt::AltModifier, K = Qt::KeypadModifier;
        QTest::newRow("Shift+Q") << int(Qt::Key_Q) << S << 81 << 1;
        QTest::newRow("q") << int(Qt::Key_Q) << 0 << 81 << 0;
        QTest::newRow("F2") << int(Qt::Key_F2) << 0 << 113 << 0;
        QTest::newRow("Shift+F2") << int(Qt::Key_F2) << S << 113 << 1;
        QTest::newRow("F12") << int(Qt::Key_F12) << 0 << 123 << 0;
        QTest::newRow("digit 7") << int(Qt::Key_7) << 0 << 55 << 0;
        QTest::newRow("! is the 1 key") << int(Qt::Key_Exclam) << S << 49 << 1;
        QTest::newRow("< is the comma key") << int(Qt::Key_Less) << S << 188 << 1;
        QTest::newRow("keypad 5") << int(Qt::Key_5) << K << 101 << 0;
        QTest::newRow("keypad +") << int(Qt::Key_Plus) << K << 107 << 0;
        QTest::newRow("Shift alone") << int(Qt::Key_Shift) << 0 << 16 << 1;
        QTest::newRow("Ctrl alone") << int(Qt::Key_Control) << 0 << 17 << 2;
        QTest::newRow("Alt alone") << int(Qt::Key_Alt) << 0 << 18 << 4;
        QTest::newRow("Ctrl+Shift+E") << int(Qt::Key_E) << (C | S) << 69 << 3;
        QTest::newRow("Alt+Z") << int(Qt::Key_Z) << A << 90 << 4;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << 27 << 0;
        QTest::newRow("Return") << int(Qt::Key_Return) << 0 << 13 << 0;
        QTest::newRow("Space") << int(Qt::Key_Space) << 0 << 32 << 0;
        QTest::newRow("Left arrow") << int(Qt::Key_Left) << 0 << 37 << 0;
        QTest::newRow("an unknown key") << int(Qt::Key_unknown) << 0 << 0 << 0;
    }
    void keysReachTheHandler() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, vk);
        QFETCH(int, shift);
        QSignalSpy keys(w_, &MainWindow::keyDown);
        if (vk == 0) {  // QTest cannot type it
            QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(w_->windowHandle(), &e);
            QVERIFY(keys.isEmpty());
            return;
        }
        this->key(key, modifiers);
        QVERIFY(!keys.isEmpty());
        QCOMPARE(keys.last().at(0).toInt(), vk);
        QCOMPARE(keys.last().at(1).toInt(), shift);
        int sightings = 0;
        for (const auto& k : keys) sightings += k.at(0).toInt() == vk;
        QCOMPARE(sightings, 1);  // once, although it passes the window and the view
    }

    void goButtonFollowsTheModel() {
        const auto& go = w_->field().board.goButton;
        QPushButton* button = w_->view()->goButton();
        QVERIFY(!button->isVisible());
        w_->field().board.goButton.box.visible = true;
        w_->refreshField();
        QVERIFY(button->isVisible());
        QCOMPARE(button->text(), QStringLiteral("Go"));
        QCOMPARE(button->geometry(), QRect(qRound(go.box.left / 15), qRound(go.box.top / 15),
                                           qRound(go.box.width / 15), qRound(go.box.height / 15)));
    }

    // Last: closes every window of the test program.
    void exitClosesTheProgramsWindows() {
        QVERIFY(w_->isVisible());
        w_->menus().exitAction->trigger();
        QVERIFY(!w_->isVisible());
    }
};

CAPZEL_QT_TEST(MainWindowTest)
#include "tst_mainwindow.moc"
