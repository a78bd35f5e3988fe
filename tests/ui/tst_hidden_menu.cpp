// The hidden menu "Quince" on the real main window: the access word typed
// as key events into the window (also while "Go" has the focus) shows and
// hides the menu with the platform's beeps, and its commands run from the
// menu and its shortcut keys, asking in the game's input boxes.
#include <QAction>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>
#include <QtTest>
#include <memory>
#include <vector>

#include "rules/Placement.h"
#include "support/QtTestMain.h"
#include "ui/App.h"
#include "ui/FieldView.h"
#include "ui/QtPlatform.h"
#include "ui/frmMain.h"

using capzel::ui::CapzelApp;
using capzel::ui::frmMain;
using capzel::ui::QtPlatform;

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

// Answers the game's modal boxes as they come, in the order they come: an
// input box gets the next scripted answer (OK, or Cancel for a null
// answer), a message box its OK. Records what each box showed.
class ModalScript : public QObject {
public:
    struct Seen {
        QString title;
        QString text;  // the prompt or the message
        bool input = false;
    };
    QList<Seen> seen;

    explicit ModalScript(QStringList answers) : answers_(std::move(answers)) {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, &ModalScript::answer);
        timer_.start();
    }

private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            seen << Seen{input->windowTitle(), input->labelText(), true};
            const QString a = answers_.isEmpty() ? QString() : answers_.takeFirst();
            if (a.isNull()) {
                input->reject();
                return;
            }
            input->findChild<QLineEdit*>()->setText(a);
            input->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen << Seen{box->windowTitle(), box->text(), false};
            box->button(QMessageBox::Ok)->click();
        }
    }

    QStringList answers_;
    QTimer timer_;
};

}  // namespace

Q_DECLARE_METATYPE(Presses)

class HiddenMenuTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CapzelApp> app_;
    frmMain* w_ = nullptr;

    void press(const Presses& keys) {
        for (const Press& p : keys)
            QTest::keyClick(w_->windowHandle(), Qt::Key(p.key), Qt::KeyboardModifiers(p.modifiers));
    }
    bool quinceShown() const { return w_->menus().mnuQuince->menuAction()->isVisible(); }

    // A running game of three: pieces 1 and 2 on the board, 3 in the holder.
    void startGameOfThree() {
        capzel::modCapzel& g = app_->state();
        g.NumberOfPlayers = 3;
        g.recreatePerGameTables();
        g.GameRunning = true;
        g.CurrentTurn = 1;
        for (int i = 1; i <= 3; ++i) {
            g.PlayerName[i] = std::string("P").append(std::to_string(i));
            g.Friction[i] = 98.0f;
        }
        for (int i : {1, 2}) {
            g.InGame[i] = true;
            g.Position[i] = 3;
        }
    }

    void showQuince() {
        press(shifted("QUINCE"));
        QVERIFY(quinceShown());
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }

    void init() {
        app_ = std::make_unique<CapzelApp>();
        w_ = &app_->openMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(w_));
        w_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_));
    }
    void cleanup() {
        app_.reset();
        w_ = nullptr;
    }

    void accessWord_data() {
        QTest::addColumn<Presses>("keys");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<QString>("typed");
        QTest::newRow("the word shows the menu") << shifted("QUINCE") << true << 2 << "";
        QTest::newRow("the word again hides it") << shifted("QUINCE") + shifted("QUINCE") << false << 4 << "";
        QTest::newRow("keys without Shift do not interrupt")
            << shifted("QU") + Presses{{Qt::Key_A, 0}, {Qt::Key_B, 0}, {Qt::Key_C, 0}} + shifted("INCE") << true
            << 2 << "";
        QTest::newRow("a wrong Shift key costs the word") << shifted("QX") << false << 1 << "";
        QTest::newRow("and starts no new attempt") << shifted("QXU") << false << 2 << "";
        QTest::newRow("Shift+F2 is a q") << Presses{{Qt::Key_F2, kShift}} + shifted("UINCE") << true << 2 << "";
        QTest::newRow("Ctrl+Shift+Q changes nothing")
            << Presses{{Qt::Key_Q, kShift | Qt::ControlModifier}} << false << 0 << "";
        QTest::newRow("Ctrl+Shift inside the word")
            << shifted("QUI") + Presses{{Qt::Key_X, kShift | Qt::ControlModifier}} + shifted("NCE") << true << 2
            << "";
        QTest::newRow("a partial word waits") << shifted("QUIN") << false << 0 << "QUIN";
    }

    // Real key events into the window, Shift going down and up around each.
    void accessWord() {
        QFETCH(Presses, keys);
        QFETCH(bool, shown);
        QFETCH(int, beeps);
        QFETCH(QString, typed);
        const int before = QtPlatform::beepsSounded();
        press(keys);
        QCOMPARE(quinceShown(), shown);
        QCOMPARE(QtPlatform::beepsSounded() - before, beeps);
        QCOMPARE(QString::fromStdString(w_->field().TypedKeys), typed);
        // The items act only while the menu is shown.
        for (QAction* a : w_->menus().mnuQuince->actions()) QCOMPARE(a->isEnabled(), shown);
    }

    void accessWordWhileGoHasTheFocus() {
        w_->field().board.cmdGo.box.Visible = true;
        w_->refreshField();
        QPushButton* go = w_->view()->goButton();
        go->setFocus();
        QCOMPARE(QApplication::focusWidget(), go);
        const int before = QtPlatform::beepsSounded();
        press(shifted("QUINCE"));
        QVERIFY(quinceShown());
        QCOMPARE(QtPlatform::beepsSounded() - before, 2);
        QCOMPARE(QApplication::focusWidget(), go);
    }

    // With the menu shown, F2 is Set Friction's shortcut, but Shift+F2 is
    // still the q that starts the word hiding it.
    void shiftF2IsNoShortcut() {
        startGameOfThree();
        showQuince();
        ModalScript script({});
        press(Presses{{Qt::Key_F2, kShift}} + shifted("UINCE"));
        QVERIFY(!quinceShown());
        QVERIFY(script.seen.isEmpty());
    }

    void newWindowHidesTheMenuAgain() {
        showQuince();
        press(shifted("QU"));
        w_ = &app_->openMainWindow();
        QVERIFY(!quinceShown());
        QVERIFY(w_->field().TypedKeys.empty());
    }

    void setFrictionByItsShortcut() {
        startGameOfThree();
        showQuince();
        ModalScript script({"all", "97.5"});
        QTest::keyClick(w_->windowHandle(), Qt::Key_F2);
        QCOMPARE(script.seen.size(), 2);
        QCOMPARE(script.seen[0].text, QString("Who? (# or all)"));
        QCOMPARE(script.seen[1].text, QString("What? (% retained)"));
        for (const auto& s : script.seen) QCOMPARE(s.title, QString("Capzel"));
        const capzel::modCapzel& g = app_->state();
        QCOMPARE(g.Friction[1], 97.5f);
        QCOMPARE(g.Friction[2], 97.5f);
        QCOMPARE(g.Friction[3], 98.0f);  // still in the holder
    }

    void cancelGivesTheEmptyAnswer() {
        startGameOfThree();
        showQuince();
        ModalScript script({QString(), "50"});
        w_->menus().mnuSetFrict->trigger();
        QCOMPARE(script.seen.size(), 2);  // both questions are asked
        for (int i = 1; i <= 3; ++i) QCOMPARE(app_->state().Friction[i], 98.0f);
    }

    void setPositionStartsTheTurn() {
        startGameOfThree();
        showQuince();
        ModalScript script({"2", "26"});
        w_->menus().mnuSetPos->trigger();
        QVERIFY(script.seen.size() >= 3);
        QCOMPARE(script.seen[0].text, QString("Who? (# only)"));
        QCOMPARE(script.seen[1].text, QString("Where?"));
        QVERIFY(!script.seen[2].input);  // the turn start's announcement
        QCOMPARE(script.seen[2].title, QString("Capzel"));
        const capzel::modCapzel& g = app_->state();
        QCOMPARE(g.Position[2], 26);
        QVERIFY(g.MoveableNextTurn[2]);
        capzel::Box expected = w_->field().board.Player[2];
        capzel::centrePieceOn(expected, w_->field().board.Spot[26]);
        QCOMPARE(w_->field().board.Player[2].Left, expected.Left);
        QCOMPARE(w_->field().board.Player[2].Top, expected.Top);
    }

    void setGuidelinesShowsTheItem() {
        showQuince();
        QVERIFY(!w_->menus().mnuGuide->isVisible());
        QTest::keyClick(w_->windowHandle(), Qt::Key_F6);
        QVERIFY(w_->menus().mnuGuide->isVisible());
    }

    void commandsBeforeAnyGameChangeNothing() {
        showQuince();
        const capzel::modCapzel before = app_->state();
        const auto pieces = w_->field().board.Player;
        ModalScript script({"1", "5", "all", "1e400", "1", "10", "10", "all", "5", "1", "1", "all"});
        for (QAction* a : {w_->menus().mnuSetPos, w_->menus().mnuSetFrict, w_->menus().mnuSetSpeed,
                           w_->menus().mnuSetPiece, w_->menus().mnuSetIngame})
            a->trigger();
        QCOMPARE(script.seen.size(), 12);  // every question asked, no message shown
        const capzel::modCapzel& g = app_->state();
        QVERIFY(!g.PerGameTablesExist);
        for (int i = 0; i <= capzel::kMaxPlayers; ++i) {
            QCOMPARE(g.Friction[i], before.Friction[i]);
            QCOMPARE(w_->field().board.Player[i].Left, pieces[i].Left);
            QCOMPARE(w_->field().board.Player[i].Top, pieces[i].Top);
        }
    }
};

CAPZEL_QT_TEST_MAIN(HiddenMenuTest)

#include "tst_hidden_menu.moc"
