// The main window: menus and shortcuts, keys, the mouse, the field drawn from the model, and the About box.
#include "support/QtTestMain.h"
#include "support/UrlRecorder.h"
#include "ui/windows/AboutBox.h"
#include "ui/windows/Config.h"
#include "ui/windows/InputCodes.h"

using capzel::rgb;
using capzel::ui::AboutBox;

namespace {

const QColor kBlack(0, 0, 0), kRed(255, 0, 0);

QList<AboutBox*> openAboutBoxes() {
    QList<AboutBox*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* about = qobject_cast<AboutBox*>(w); about && about->isVisible()) out << about;
    return out;
}

}  // namespace

class MainWindowTest : public capzel::test::WindowTest {
    Q_OBJECT

    void typeShifted(const char* letters) {
        for (const char* c = letters; *c; ++c) f.key(Qt::Key_A + (*c - 'A'), Qt::ShiftModifier);
    }
    bool quinceShown() { return f.window().menus().hiddenMenu->menuAction()->isVisible(); }

    static int count(const QImage& img, const QRect& r, const QColor& c) {  // the pixels of `r` in colour `c`
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) n += img.pixelColor(x, y) == c;
        return n;
    }
    static QRect pixels(const capzel::Box& b) { return {int(b.left / 15), int(b.top / 15), int(b.width / 15), int(b.height / 15)}; }

private slots:
    // The access word reaches the game whatever holds the focus; Shift+F2 is a q, not F2.
    void accessWordWhileGoHasTheFocus() {
        QVERIFY(f.startGame({"Ann", "Bob"}));
        int beeps = 0;
        f.platform().sound = [&beeps] { ++beeps; };
        f.modals->boxes.clear();  // the first turn's start
        f.window().turn().mouseUp();  // the bar charges: "Go" shows
        f.window().refreshField();
        QPushButton* go = f.window().view()->goButton();
        go->setFocus();
        typeShifted("QUINCE");
        QVERIFY(quinceShown() && beeps == 2 && QApplication::focusWidget() == go);
        f.key(Qt::Key_F2, Qt::ShiftModifier);
        typeShifted("UINCE");
        QVERIFY(!quinceShown() && f.modals->boxes.isEmpty());
    }

    // Hidden shortcuts act only while their menu shows; High Scores' never.
    void hiddenShortcuts() {
        QVERIFY(f.startGame({"Ann", "Bob"}));
        f.modals->boxes.clear();
        f.key(Qt::Key_F2);
        f.key(Qt::Key_H, Qt::ControlModifier);
        QVERIFY(f.modals->boxes.isEmpty());
        f.window().menuState().hiddenMenuVisible = true;
        f.window().syncMenus();
        f.key(Qt::Key_H, Qt::ControlModifier);
        QVERIFY(f.modals->boxes.isEmpty() && !f.app->highScoresWindow());
        f.key(Qt::Key_F2);  // Set Friction asks
        QVERIFY(!f.modals->boxes.isEmpty() && f.modals->boxes[0].input);
    }

    // Ctrl+N is a song end, Ctrl+L ticks Loop, the item clears it.
    void musicMenu() {
        capzel::MenuState& songs = f.window().menuState();
        songs.songCount = 3, songs.songNumber = 2;
        f.key(Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(songs.songNumber, 3);
        f.key(Qt::Key_L, Qt::ControlModifier);
        QVERIFY(songs.loopChecked && f.window().menus().loopAction->isChecked());
        f.window().menus().loopAction->trigger();
        QVERIFY(!songs.loopChecked && !f.window().menus().loopAction->isChecked());
    }

    // The left button alone aims; Shift alone places the piece (where, and Shift with the left button: tests/core).
    void buttonAndShiftSets() {
        const int L = Qt::LeftButton, S = Qt::ShiftModifier;
        struct Case { int buttons, mods; bool aims, places; };
        QVERIFY(f.startGame({"Ann", "Bob"}));
        const float left = f.board().pieces[1].left, top = f.board().pieces[1].top;
        const auto shown = [this] { return f.window().turn().shownGame(); };
        for (const Case& c : {Case{L, 0, true, false}, Case{L | Qt::RightButton, 0, false, false}, Case{0, S | Qt::ControlModifier, false, false},
                              Case{0, S, false, true}}) {
            f.moveOverField(QPointF(0, 625), Qt::MouseButtons(c.buttons), Qt::KeyboardModifiers(c.mods));  // down-left of box 1
            QCOMPARE(shown().board.pointer.visible, c.aims);
            QCOMPARE(shown().piece(1).left != left || shown().piece(1).top != top, c.places);
            f.window().turn().cancel();  // Esc: the aim goes
        }
    }
    void movedAndHiddenPiecesAndWalls() {
        f.change([](capzel::Game& g) {
            capzel::Board& b = g.board;
            b.walls[5].visible = b.pieces[4].visible = false;
            b.pieces[3].left = 3000, b.pieces[3].top = 6000, b.pieces[3].fillColor = rgb(255, 128, 0), b.pieces[4].fillColor = rgb(255, 255, 0);
        });
        const capzel::Board& b = f.board();
        const QImage img = f.fieldPicture();
        QCOMPARE(img.pixelColor(pixels(b.pieces[3]).center()), QColor(255, 128, 0));
        // Piece 3's old place, piece 4 and wall 5 black; wall 9 still there.
        QVERIFY(img.pixelColor(699, 58) == kBlack && img.pixelColor(pixels(b.pieces[4]).center()) == kBlack && img.pixelColor(502, 311) == kBlack);
        QCOMPARE(img.pixelColor(720, 324), kRed);
    }

    // Rings on the player's piece and target between shots, on a killer's prey; none with Show Hints unticked (last).
    void hintsBetweenShots() {
        f.app->setShowHints(true);  // a helper: off in the classic look
        for (auto [killer, hintsOff] : {std::pair{false, false}, {true, false}, {false, true}}) {
            f.change([killer](capzel::Game& g) {
                g.numberOfPlayers = 2;
                g.recreatePerGameTables();
                g.gameRunning = g.seats[1].inGame = g.seats[2].inGame = true;
                g.currentTurn = 1, g.seats[1].position = 1;
                g.seats[1].isKiller = killer;
                g.piece(1).fillColor = rgb(255, 255, 255), g.piece(2).fillColor = rgb(255, 0, 0);
                g.piece(1).left = 2250, g.piece(1).top = 6750, g.piece(2).left = 6000, g.piece(2).top = 6750;
            });
            if (hintsOff) f.window().menus().showHintsAction->trigger();
            const QImage img = f.fieldPicture();
            auto yellow = [&img](const QRect& r) { return count(img, r, QColor(255, 255, 0)); };
            auto around = [](const capzel::Box& b) { return pixels(b).adjusted(-8, -8, 8, 8); };
            QCOMPARE(yellow(around(f.board().pieces[1])) > 40, !hintsOff);
            QCOMPARE(yellow(pixels(f.board().spots[2])) > 40, !hintsOff && !killer);
            QCOMPARE(yellow(around(f.board().pieces[2])) > 20, killer);
        }
    }

    // Help > About: modeless, the main window's, one at a time; only the link opens the home page; no System Info is told; Esc, OK close it.
    void aboutBoxFromTheMenu() {
        capzel::test::UrlRecorder urls({"https", "http"});
        QAction* about = f.window().menus().aboutAction;
        about->trigger();
        QCOMPARE(openAboutBoxes().size(), 1);
        QPointer<AboutBox> first = openAboutBoxes().first();
        QVERIFY(QTest::qWaitForWindowExposed(first) && !first->isModal() && !QApplication::activeModalWidget());
        QCOMPARE(first->windowHandle()->transientParent(), f.window().windowHandle());
        about->trigger();
        QCOMPARE(openAboutBoxes(), QList<AboutBox*>{first.data()});
        QLabel* here = first->findChild<QLabel*>("homePageLink");
        QTest::mouseClick(here, Qt::LeftButton, {}, here->rect().center());
        QTest::mouseClick(first->findChild<QLabel*>("descriptionLabel"), Qt::LeftButton);
        QCOMPARE(urls.opened, QList<QUrl>{QUrl(capzel::config::kHomePage)});
        first->setSysInfoPrograms({"capzel-no-such-system-information-program"});
        QTest::mouseClick(first->findChild<QPushButton*>("systemInfoButton"), Qt::LeftButton);
        QVERIFY(f.modals->messages() == QStringList{"System Information Is Unavailable At This Time"} && first && first->isVisible());
        QTest::keyClick(first, Qt::Key_Escape);
        QTRY_VERIFY(first.isNull());
        about->trigger();
        QPointer<AboutBox> second = openAboutBoxes().value(0);
        QVERIFY(second && openAboutBoxes().size() == 1 && second->colorIndex() == 1);
        QTest::mouseClick(second->findChild<QPushButton*>("okButton"), Qt::LeftButton);
        QTRY_VERIFY(second.isNull());
    }
};

CAPZEL_QT_TEST(MainWindowTest)
#include "tst_mainwindow.moc"
