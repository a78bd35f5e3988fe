// The main window: its menu tree, the commands of its menus, its place and
// size, its load handling, and how keys and the mouse reach its handlers.
#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>
#include <QtTest>
#include <memory>

#include "support/ModalAnswer.h"
#include "support/QtTestMain.h"
#include "support/RecordingApp.h"
#include "ui/Config.h"
#include "ui/Connection.h"
#include "ui/FieldView.h"
#include "ui/InputCodes.h"
#include "ui/frmMain.h"

using capzel::Board;
using capzel::kGuideCount;
using capzel::test::RecordingApp;
using capzel::test::SeenBox;
using capzel::ui::frmMain;

// Receives the addresses the desktop is asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<RecordingApp> app_;
    frmMain* w_ = nullptr;

    QAction* action(const char* name) const {
        // Menus and their menu actions share the control's name.
        for (QAction* a : w_->findChildren<QAction*>(QString::fromLatin1(name)))
            return a;
        return nullptr;
    }
    QStringList names(const QList<QAction*>& actions) const {
        QStringList out;
        for (QAction* a : actions) out << a->objectName();
        return out;
    }
    void sync() { w_->syncMenus(); }

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
        capzel::ui::setConnectionProbe(nullptr);
        app_.reset();
        w_ = nullptr;
    }

    void menuItems_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("visibleAtLoad");
        QTest::addColumn<bool>("checkable");
        const QString email = QStringLiteral("&Email Norvin (") + QString::fromUtf8(capzel::config::kAuthorEmail) + ")";
        struct Row {
            const char* name;
            QString caption;
            const char* shortcut;
            bool visible;
            bool checkable;
        };
        const Row rows[] = {
            {"mnuNew", "&New", "", true, false},
            {"mnuSave", "&Save Game", "", true, false},
            {"mnuLoad", "&Load Game", "", true, false},
            {"mnuExit", "E&xit", "", true, false},
            {"mnuGameStatus", "Game &Status", "Ctrl+S", true, false},
            {"mnuHighScores", "&High Scores", "Ctrl+H", false, false},
            {"mnuGuide", "&Guide Lines", "Ctrl+G", false, true},
            {"mnuNextSong", "&Next Song", "Ctrl+N", true, false},
            {"mnuLoop", "&Loop Song", "Ctrl+L", true, true},
            {"mnuOnline", "&Help Online", "", true, false},
            {"mnuEmail", email, "", true, false},
            {"mnuAbout", "&About", "", true, false},
            {"mnuSetPos", "&Set Position and start turn", "F1", true, false},
            {"mnuSetFrict", "&Set Friction", "F2", true, false},
            {"mnuSetSpeed", "&Set Speed", "F3", true, false},
            {"mnuSetPiece", "&Set Piece", "F4", true, false},
            {"mnuSetIngame", "&Set Ingame", "F5", true, false},
            {"mnuSetGuide", "&Set Guidelines", "F6", true, false},
            {"mnuFile", "&File", "", true, false},
            {"mnuView", "View", "", true, false},
            {"mnuMusic", "Music", "", true, false},
            {"mnuHelp", "Help", "", true, false},
            {"mnuQuince", "Quince", "", false, false},
        };
        for (const Row& r : rows)
            QTest::newRow(r.name) << QString::fromLatin1(r.name) << r.caption << QString::fromLatin1(r.shortcut)
                                  << r.visible << r.checkable;
    }
    void menuItems() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QFETCH(bool, visibleAtLoad);
        QFETCH(bool, checkable);
        QAction* a = action(name.toLatin1().constData());
        QVERIFY2(a, qPrintable(name));
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), shortcut);
        QCOMPARE(a->isVisible(), visibleAtLoad);
        QCOMPARE(a->isCheckable(), checkable);
        QVERIFY(!a->isChecked());
    }

    void menuOrder() {
        QCOMPARE(names(w_->menuBar()->actions()),
                 QStringList({"mnuFile", "mnuView", "mnuMusic", "mnuHelp", "mnuQuince"}));
        const auto& m = w_->menus();
        QCOMPARE(names(m.mnuFile->actions()), QStringList({"mnuNew", "mnuSave", "mnuLoad", "sep1", "mnuExit"}));
        QCOMPARE(names(m.mnuView->actions()), QStringList({"mnuGameStatus", "mnuHighScores", "mnuGuide"}));
        QCOMPARE(names(m.mnuMusic->actions()), QStringList({"mnuNextSong", "mnuLoop"}));
        QCOMPARE(names(m.mnuHelp->actions()), QStringList({"mnuOnline", "mnuEmail", "sep2", "mnuAbout"}));
        QCOMPARE(names(m.mnuQuince->actions()), QStringList({"mnuSetPos", "mnuSetFrict", "mnuSetSpeed",
                                                             "mnuSetPiece", "mnuSetIngame", "mnuSetGuide"}));
        QVERIFY(m.sep1->isSeparator());
        QVERIFY(m.sep2->isSeparator());
    }

    void menuStatesFollowTheWindow() {
        w_->field().mnuQuinceVisible = true;
        w_->field().mnuGuideVisible = true;
        w_->field().mnuGuideChecked = true;
        w_->field().mnuLoopChecked = true;
        sync();
        QVERIFY(w_->menus().mnuQuince->menuAction()->isVisible());
        QVERIFY(w_->menus().mnuGuide->isVisible());
        QVERIFY(w_->menus().mnuGuide->isChecked());
        QVERIFY(w_->menus().mnuLoop->isChecked());
        QVERIFY(!w_->menus().mnuHighScores->isVisible());  // no command shows it

        // A new main window starts again from the states of a load.
        frmMain* fresh = &app_->openMainWindow();
        QVERIFY(fresh != w_);
        QVERIFY(!fresh->menus().mnuQuince->menuAction()->isVisible());
        QVERIFY(!fresh->menus().mnuGuide->isVisible());
        QVERIFY(!fresh->menus().mnuLoop->isChecked());
        QVERIFY(fresh->field().TypedKeys.empty());
        w_ = fresh;
    }

    // Shortcuts act only while their item is shown.
    void shortcutsOfHiddenItems_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("call");
        QTest::newRow("F1 Set Position") << int(Qt::Key_F1) << 0 << "mnuSetPos";
        QTest::newRow("F2 Set Friction") << int(Qt::Key_F2) << 0 << "mnuSetFrict";
        QTest::newRow("F3 Set Speed") << int(Qt::Key_F3) << 0 << "mnuSetSpeed";
        QTest::newRow("F4 Set Piece") << int(Qt::Key_F4) << 0 << "mnuSetPiece";
        QTest::newRow("F5 Set Ingame") << int(Qt::Key_F5) << 0 << "mnuSetIngame";
        QTest::newRow("F6 Set Guidelines") << int(Qt::Key_F6) << 0 << "mnuSetGuide";
        QTest::newRow("Ctrl+H High Scores") << int(Qt::Key_H) << int(Qt::ControlModifier) << "showHighScores";
    }
    void shortcutsOfHiddenItems() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, call);
        QTest::keyClick(w_->windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QVERIFY(app_->calls.isEmpty());
        w_->field().mnuQuinceVisible = true;
        sync();
        QTest::keyClick(w_->windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        if (call == QLatin1String("showHighScores")) {
            QVERIFY(app_->calls.isEmpty());  // never shown, never acts
            w_->menus().mnuHighScores->trigger();
        }
        QCOMPARE(app_->calls, QStringList{call});
    }

    void menuCommandsReachTheApplication() {
        const auto& m = w_->menus();
        const std::pair<QAction*, const char*> rows[] = {
            {m.mnuNew, "newGame"}, {m.mnuSave, "saveGame"}, {m.mnuLoad, "loadGame"}, {m.mnuAbout, "showAbout"},
        };
        for (const auto& [a, call] : rows) {
            app_->calls.clear();
            a->trigger();
            QCOMPARE(app_->calls, QStringList{QString::fromLatin1(call)});
        }
    }

    void guideToggle() {
        Board& b = w_->field().board;
        QTest::keyClick(w_->windowHandle(), Qt::Key_G, Qt::ControlModifier);
        QVERIFY2(!b.linGuide[0].Visible, "the shortcut of the hidden item does nothing");

        w_->field().mnuGuideVisible = true;  // as the hidden "Set Guidelines" leaves it
        sync();
        b.bringToFront(b.Player[1]);
        const int before = b.zCounter;
        QTest::keyClick(w_->windowHandle(), Qt::Key_G, Qt::ControlModifier);
        QVERIFY(w_->menus().mnuGuide->isChecked());
        QVERIFY(w_->field().mnuGuideChecked);
        for (int g = 0; g < kGuideCount; ++g) {
            if (!Board::guideExists(g)) continue;
            QVERIFY2(b.linGuide[g].Visible, qPrintable(QString::number(g)));
            QVERIFY(b.linGuide[g].Z > before);
            QVERIFY(b.Pointer.Z > b.linGuide[g].Z);
        }
        QVERIFY(!b.linGuide[6].Visible);  // there is no guide line 6

        w_->menus().mnuGuide->trigger();
        QVERIFY(!w_->menus().mnuGuide->isChecked());
        for (int g = 0; g < kGuideCount; ++g) QVERIFY(!b.linGuide[g].Visible);
    }

    void loopToggle() {
        QTest::keyClick(w_->windowHandle(), Qt::Key_L, Qt::ControlModifier);
        QVERIFY(w_->field().mnuLoopChecked);
        QVERIFY(w_->menus().mnuLoop->isChecked());
        w_->menus().mnuLoop->trigger();
        QVERIFY(!w_->field().mnuLoopChecked);
        QVERIFY(!w_->menus().mnuLoop->isChecked());
    }

    // Next Song is a song end (2 -> 0) with the window's loop mark.
    void nextSongFollowsTheLoopMark_data() {
        QTest::addColumn<bool>("loop");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("moves on") << false << 1 << 2;
        QTest::newRow("wraps after the last song") << false << 3 << 1;
        QTest::newRow("loop keeps the song") << true << 2 << 2;
    }
    void nextSongFollowsTheLoopMark() {
        QFETCH(bool, loop);
        QFETCH(int, before);
        QFETCH(int, after);
        app_->state().SongCount = 3;
        app_->state().SongNumber = before;
        if (loop) QTest::keyClick(w_->windowHandle(), Qt::Key_L, Qt::ControlModifier);
        QTest::keyClick(w_->windowHandle(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(app_->state().SongNumber, after);
    }

    void statusCommandAsksForANewGame_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("Yes starts the New command") << int(QMessageBox::Yes) << QStringList{"newGame"};
        QTest::newRow("No does nothing") << int(QMessageBox::No) << QStringList{};
    }
    void statusCommandAsksForANewGame() {
        QFETCH(int, answer);
        QFETCH(QStringList, calls);
        SeenBox seen;
        capzel::test::answerNextMessageBox(QMessageBox::StandardButton(answer), seen);
        QTest::keyClick(w_->windowHandle(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(seen.seen);
        QCOMPARE(seen.text, QStringLiteral("A game must be running in order to view the status.  "
                                           "Would you like to start a new game?"));
        QCOMPARE(seen.title, QStringLiteral("Capzel"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.textFormat, Qt::PlainText);
        QCOMPARE(seen.buttons.size(), 2);
        QVERIFY(seen.buttons.contains(QMessageBox::Yes));
        QVERIFY(seen.buttons.contains(QMessageBox::No));
        QCOMPARE(app_->calls, calls);
    }

    void statusCommandWhileAGameRuns() {
        app_->state().GameRunning = true;
        w_->menus().mnuGameStatus->trigger();
        QCOMPARE(app_->calls, QStringList{"showStatus"});
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void internetCommands_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("message");
        const QString help = QString::fromUtf8(capzel::config::kHelpPage);
        const QString mail = QStringLiteral("mailto:") + QString::fromUtf8(capzel::config::kAuthorEmail);
        QTest::newRow("help, connected") << "mnuOnline" << true << help << QString();
        QTest::newRow("mail, connected") << "mnuEmail" << true << mail << QString();
        QTest::newRow("help, offline")
            << "mnuOnline" << false << QString()
            << "You must be connected to the internet in order to get online help.";
        QTest::newRow("mail, offline")
            << "mnuEmail" << false << QString() << "You must be connected to the internet in order to email Norvin.";
    }
    void internetCommands() {
        QFETCH(QString, item);
        QFETCH(bool, connected);
        QFETCH(QString, opened);
        QFETCH(QString, message);
        UrlRecorder urls;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &urls, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &urls, "open");
        capzel::ui::setConnectionProbe([connected] { return connected; });
        SeenBox seen;
        if (!connected) capzel::test::answerNextMessageBox(QMessageBox::Ok, seen);
        action(item.toLatin1().constData())->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        if (connected) {
            QCOMPARE(urls.opened, QList<QUrl>{QUrl(opened)});
        } else {
            QVERIFY(urls.opened.isEmpty());
            QVERIFY(seen.seen);
            QCOMPARE(seen.text, message);
            QCOMPARE(seen.title, QStringLiteral("Capzel"));
            QCOMPARE(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
        }
    }

    void windowPlaceAndSize() {
        QCOMPARE(w_->windowTitle(), QStringLiteral("Capzel"));
        QCOMPARE(w_->view()->size(), QSize(730, 626));
        QCOMPARE(w_->view()->mapToGlobal(QPoint(0, 0)), QPoint(47, 56));
        QCOMPARE(w_->minimumSize(), w_->maximumSize());
        QVERIFY(!(w_->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(w_->windowFlags() & Qt::WindowMinimizeButtonHint));
    }

    void loadStretchesTheSideLines() {
        const Board& b = w_->field().board;
        QCOMPARE(b.linLeft.Y1, 0.0f);
        QCOMPARE(b.linLeft.Y2, 9390.0f);
        QCOMPARE(b.linRight.Y1, 0.0f);  // 45 as laid out
        QCOMPARE(b.linRight.Y2, 9390.0f);
        QCOMPARE(b.linLeft.X1, 600.0f);
        QCOMPARE(b.linRight.X1, 10080.0f);
        QCOMPARE(b.ScaleHeight, 9390.0f);
        QCOMPARE(b.ScaleWidth, 10950.0f);
    }

    void activationPaintsEveryPieceInItsPlayersColour() {
        for (int i = 1; i <= 8; ++i) app_->state().PlayerColor[i] = capzel::rgb(i * 10, i * 20, i * 30);
        app_->state().PlayerColor[8] = 0;  // never set: black
        w_->Form_Activate();
        for (int i = 1; i <= 8; ++i) QCOMPARE(w_->field().board.Player[i].FillColor, app_->state().PlayerColor[i]);
    }

    void keysReachTheHandler_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("vk");
        QTest::addColumn<int>("shift");
        QTest::newRow("Shift+Q") << int(Qt::Key_Q) << int(Qt::ShiftModifier) << 81 << 1;
        QTest::newRow("q") << int(Qt::Key_Q) << 0 << 81 << 0;
        QTest::newRow("F2") << int(Qt::Key_F2) << 0 << 113 << 0;
        QTest::newRow("Shift+F2") << int(Qt::Key_F2) << int(Qt::ShiftModifier) << 113 << 1;
        QTest::newRow("F12") << int(Qt::Key_F12) << 0 << 123 << 0;
        QTest::newRow("digit 7") << int(Qt::Key_7) << 0 << 55 << 0;
        QTest::newRow("Shift alone") << int(Qt::Key_Shift) << 0 << 16 << 1;
        QTest::newRow("Ctrl alone") << int(Qt::Key_Control) << 0 << 17 << 2;
        QTest::newRow("Ctrl+Shift+E") << int(Qt::Key_E) << int(Qt::ControlModifier | Qt::ShiftModifier) << 69 << 3;
        QTest::newRow("Alt+Z") << int(Qt::Key_Z) << int(Qt::AltModifier) << 90 << 4;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << 27 << 0;
        QTest::newRow("Left arrow") << int(Qt::Key_Left) << 0 << 37 << 0;
    }
    void keysReachTheHandler() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, vk);
        QFETCH(int, shift);
        QSignalSpy keys(w_, &frmMain::keyDown);
        // The modifier keys go down first, each a key-down of its own.
        QTest::keyClick(w_->windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QVERIFY(!keys.isEmpty());
        QCOMPARE(keys.last().at(0).toInt(), vk);
        QCOMPARE(keys.last().at(1).toInt(), shift);
        int sightings = 0;
        for (const auto& k : keys) sightings += k.at(0).toInt() == vk;
        QCOMPARE(sightings, 1);  // once, although it passes the window and the view
    }

    void keysReachTheHandlerWhileGoHasTheFocus() {
        w_->field().board.cmdGo.box.Visible = true;
        w_->refreshField();
        QPushButton* go = w_->view()->goButton();
        QVERIFY(go->isVisible());
        go->setFocus();
        QCOMPARE(QApplication::focusWidget(), go);
        QSignalSpy keys(w_, &frmMain::keyDown);
        QTest::keyClick(w_->windowHandle(), Qt::Key_U, Qt::ShiftModifier);
        QCOMPARE(keys.size(), 2);  // Shift, then U
        QCOMPARE(keys.at(1).at(0).toInt(), 85);
        QCOMPARE(keys.at(1).at(1).toInt(), 1);
    }

    void goButtonFollowsTheModel() {
        const auto& go = w_->field().board.cmdGo;
        QPushButton* button = w_->view()->goButton();
        QVERIFY(!button->isVisible());
        w_->field().board.cmdGo.box.Visible = true;
        w_->refreshField();
        QVERIFY(button->isVisible());
        QCOMPARE(button->text(), QStringLiteral("Go"));
        QCOMPARE(button->geometry(), QRect(qRound(go.box.Left / 15), qRound(go.box.Top / 15),
                                           qRound(go.box.Width / 15), qRound(go.box.Height / 15)));
    }

    void mouseMovesInTwips() {
        QSignalSpy moves(w_, &frmMain::mouseMoved);
        QMouseEvent plain(QEvent::MouseMove, QPointF(100, 200), w_->view()->mapToGlobal(QPointF(100, 200)),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w_->view(), &plain);
        QCOMPARE(moves.size(), 1);
        const auto last = moves.last();
        QCOMPARE(last.at(0).toInt(), 0);
        QCOMPARE(last.at(1).toInt(), 0);
        QCOMPARE(last.at(2).toFloat(), 1500.0f);
        QCOMPARE(last.at(3).toFloat(), 3000.0f);

        // Buttons and shift keys held during a move, as whole sets.
        moves.clear();
        QMouseEvent held(QEvent::MouseMove, QPointF(40, 10), w_->view()->mapToGlobal(QPointF(40, 10)),
                         Qt::NoButton, Qt::LeftButton | Qt::RightButton, Qt::ShiftModifier | Qt::AltModifier);
        QApplication::sendEvent(w_->view(), &held);
        QCOMPARE(moves.size(), 1);
        QCOMPARE(moves.at(0).at(0).toInt(), 3);
        QCOMPARE(moves.at(0).at(1).toInt(), 5);
        QCOMPARE(moves.at(0).at(2).toFloat(), 600.0f);
        QCOMPARE(moves.at(0).at(3).toFloat(), 150.0f);
    }

    void mouseReleaseGivesTheButtonThatWentUp_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("s");
        QTest::newRow("left") << int(Qt::LeftButton) << 0 << 1 << 0;
        QTest::newRow("right with Ctrl") << int(Qt::RightButton) << int(Qt::ControlModifier) << 2 << 2;
        QTest::newRow("middle with Shift") << int(Qt::MiddleButton) << int(Qt::ShiftModifier) << 4 << 1;
    }
    void mouseReleaseGivesTheButtonThatWentUp() {
        QFETCH(int, button);
        QFETCH(int, modifiers);
        QFETCH(int, b);
        QFETCH(int, s);
        QSignalSpy ups(w_, &frmMain::mouseReleased);
        QTest::mouseClick(w_->view(), Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers), QPoint(300, 313));
        QCOMPARE(ups.size(), 1);
        QCOMPARE(ups.at(0).at(0).toInt(), b);
        QCOMPARE(ups.at(0).at(1).toInt(), s);
        QCOMPARE(ups.at(0).at(2).toFloat(), 4500.0f);
        QCOMPARE(ups.at(0).at(3).toFloat(), 4695.0f);
    }

    void virtualKeyCodes_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("keypad");
        QTest::addColumn<int>("vk");
        QTest::newRow("A") << int(Qt::Key_A) << false << 65;
        QTest::newRow("Z") << int(Qt::Key_Z) << false << 90;
        QTest::newRow("0") << int(Qt::Key_0) << false << 48;
        QTest::newRow("! is the 1 key") << int(Qt::Key_Exclam) << false << 49;
        QTest::newRow(") is the 0 key") << int(Qt::Key_ParenRight) << false << 48;
        QTest::newRow("F1") << int(Qt::Key_F1) << false << 112;
        QTest::newRow("Control") << int(Qt::Key_Control) << false << 17;
        QTest::newRow("Alt") << int(Qt::Key_Alt) << false << 18;
        QTest::newRow("Space") << int(Qt::Key_Space) << false << 32;
        QTest::newRow("Return") << int(Qt::Key_Return) << false << 13;
        QTest::newRow("comma and <") << int(Qt::Key_Less) << false << 188;
        QTest::newRow("keypad 5") << int(Qt::Key_5) << true << 101;
        QTest::newRow("keypad +") << int(Qt::Key_Plus) << true << 107;
        QTest::newRow("unknown") << int(Qt::Key_unknown) << false << 0;
    }
    void virtualKeyCodes() {
        QFETCH(int, key);
        QFETCH(bool, keypad);
        QFETCH(int, vk);
        QCOMPARE(capzel::ui::virtualKey(key, keypad), vk);
    }

    // Last: closes every window of the test program.
    void exitClosesTheProgramsWindows() {
        QVERIFY(w_->isVisible());
        w_->menus().mnuExit->trigger();
        QVERIFY(!w_->isVisible());
        QVERIFY(w_->isClosing());
        QVERIFY(!w_->platform().yield(1));
    }
};

CAPZEL_QT_TEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
