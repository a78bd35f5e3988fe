// The hidden menu "Quince" on the real main window: the access word typed
// as key events into the window (also while "Go" has the focus) shows and
// hides the menu with the platform's beeps, and its commands run from the
// menu and its shortcut keys, asking in the game's input boxes. The word's
// rules (wrong keys, partial words) and what each command does with its
// answers are the core's (tests/core/controls_hidden_* and the recorded commands).
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QWindow>
#include <QtTest>
#include <memory>
#include <vector>

#include "support/BoxAnswerer.h"
#include "support/QtTestMain.h"
#include "ui/App.h"
#include "ui/FieldView.h"
#include "ui/QtPlatform.h"
#include "ui/MainWindow.h"

using capzel::test::BoxAnswerer;
using capzel::ui::CapzelApp;
using capzel::ui::MainWindow;

namespace {

struct Press {
    int key;
    int modifiers;
};

using Presses = std::vector<Press>;

constexpr int kShift = Qt::ShiftModifier;

Presses shifted(const char* letters) {
    Presses out;
    for (const char* c = letters; *c; ++c) out.push_back({Qt::Key_A + (*c - 'A'), kShift});
    return out;
}

Presses operator+(Presses a, const Presses& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

Q_DECLARE_METATYPE(Presses)

class HiddenMenuTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CapzelApp> app_;
    MainWindow* w_ = nullptr;
    int beeps_ = 0;  // beeps of the window's platform

    void press(const Presses& keys) {
        for (const Press& p : keys)
            QTest::keyClick(w_->windowHandle(), Qt::Key(p.key), Qt::KeyboardModifiers(p.modifiers));
    }
    bool quinceShown() const { return w_->menus().hiddenMenu->menuAction()->isVisible(); }
    void showQuince() {
        press(shifted("QUINCE"));
        QVERIFY(quinceShown());
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }

    void init() {
        app_ = std::make_unique<CapzelApp>();
        w_ = &app_->openMainWindow();
        beeps_ = 0;
        w_->platform().sound = [this] { ++beeps_; };
        QVERIFY(QTest::qWaitForWindowExposed(w_));
        w_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_));
    }
    void cleanup() {
        app_.reset();
        w_ = nullptr;
    }

    // The window passes on the keys of its top-level window, so they reach
    // the word whichever control holds the focus.
    void accessWordWhileGoHasTheFocus() {
        w_->field().board.goButton.box.visible = true;
        w_->refreshField();
        QPushButton* go = w_->view()->goButton();
        go->setFocus();
        QCOMPARE(QApplication::focusWidget(), go);
        const int before = beeps_;
        press(shifted("QUINCE"));
        QVERIFY(quinceShown());
        QCOMPARE(beeps_ - before, 2);
        QCOMPARE(QApplication::focusWidget(), go);
    }

    // With the menu shown, F2 is Set Friction's shortcut, but Shift+F2 is
    // still the q that starts the word hiding it.
    void shiftF2IsNoShortcut() {
        showQuince();
        BoxAnswerer boxes;
        press(Presses{{Qt::Key_F2, kShift}} + shifted("UINCE"));
        QVERIFY(!quinceShown());
        QVERIFY(boxes.seen.isEmpty());
    }

    // A command from the menu in a running game of three: its questions in
    // the game's input boxes, then the turn start's message.
    void setPositionStartsTheTurn() {
        capzel::GameState& g = app_->state();
        g.numberOfPlayers = 3;
        g.recreatePerGameTables();
        g.gameRunning = true;
        g.currentTurn = 1;
        for (int i = 1; i <= 3; ++i) g.playerName[i] = std::string("P").append(std::to_string(i));
        showQuince();
        BoxAnswerer boxes({"2", "26"});
        w_->menus().setPositionAction->trigger();
        QVERIFY(boxes.seen.size() >= 3);
        QVERIFY(boxes.seen[0].input && boxes.seen[1].input && !boxes.seen[2].input);
        QCOMPARE(g.position[2], 26);  // what the command does with it is the core's
    }

};

CAPZEL_QT_TEST(HiddenMenuTest)

#include "tst_hidden_menu.moc"
