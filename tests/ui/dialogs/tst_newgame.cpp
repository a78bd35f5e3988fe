// The "New Game" dialog, from the New command to Play.
#include "records/SavedGame.h"
#include "records/TextEncoding.h"
#include "support/QtTestMain.h"
#include "ui/windows/StatusWindow.h"

using namespace capzel;
using namespace capzel::ui;

class NewGameTest : public capzel::test::WindowTest {
    Q_OBJECT

    NewGameDialog* dlg_ = nullptr;

    void choosePlayers(int n) { dlg_->playerCountOption(n)->click(); }

private slots:
    void init() {  // the New command with no game running: no question, a fresh dialog
        QVERIFY(f.open());
        f.app->newGame();
        dlg_ = f.app->newGameDialog();
        QVERIFY(dlg_);
        dlg_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dlg_));
    }
    void cleanup() { f.close(), dlg_ = nullptr; }

    // Every level's name shows whole in its seat choice, in the font it is drawn in.
    void seatChoicesShowWholeNames() {
        QComboBox* seat = dlg_->seatChoice(1);
        QStyleOptionComboBox option;
        option.initFrom(seat);
        const QRect text = seat->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, seat);
        for (int k = 0; k < seat->count(); ++k)
            QVERIFY2(seat->fontMetrics().horizontalAdvance(seat->itemText(k)) <= text.width(), qPrintable(seat->itemText(k)));
    }

    // Every control says what it does; a friction option's tooltip stays its level's name.
    void controlsExplainThemselves() {
        for (QWidget* control : dlg_->findChildren<QWidget*>())
            if ((qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control)) && !dlg_->colorDialog()->isAncestorOf(control))
                QVERIFY2(!control->toolTip().isEmpty(), qPrintable(control->objectName()));
        const QAbstractButton* veryHigh = dlg_->frictionOption(3, FrictionLevel::VeryHigh);
        QVERIFY(veryHigh->toolTip() == "Very High Friction" && veryHigh->whatsThis().startsWith(QLatin1String("Very High Friction\n")));
    }

    // Rows follow the count and "Friction Changes"; a row shut forgets, the tick off resets frictions.
    void rowsFollowPlayersAndFrictionChanges() {
        choosePlayers(4);
        dlg_->frictionToggle()->click();
        QCOMPARE(dlg_->frictionToggleColor(), rgb(255, 255, 0));
        for (int r = 1; r <= 8; ++r) QCOMPARE(dlg_->frictionFrame(r)->isVisible(), r <= 4);
        dlg_->nameEdit(3)->setText(QStringLiteral("Cy"));
        dlg_->frictionOption(1, FrictionLevel::VeryLow)->click(), dlg_->frictionOption(3, FrictionLevel::High)->click();
        QCOMPARE(dlg_->frictionChoice(3), FrictionLevel::High);
        dlg_->seatChoice(2)->setCurrentIndex(dlg_->seatChoice(2)->findData(int(capzel::PlayerKind::Club)));
        dlg_->seatChoice(3)->setCurrentIndex(dlg_->seatChoice(3)->findData(int(capzel::PlayerKind::Expert)));

        choosePlayers(2);
        QCOMPARE(dlg_->playersChosen(), 2);
        for (int r = 1; r <= 4; ++r) {
            for (const bool shown : {dlg_->nameEdit(r)->isEnabled(), dlg_->colorButton(r)->isVisible(), dlg_->frictionFrame(r)->isVisible(),
                                     dlg_->seatChoice(r)->isVisible()})
                QCOMPARE(shown, r <= 2);
        }
        QVERIFY(dlg_->settings().seats[2] == capzel::PlayerKind::Club && dlg_->settings().seats[3] == capzel::PlayerKind::Human);
        QCOMPARE(dlg_->nameEdit(3)->text(), QStringLiteral("Player 3"));
        QVERIFY(dlg_->frictionChoice(3) == FrictionLevel::Normal && dlg_->frictionChoice(1) == FrictionLevel::VeryLow);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dlg_->nameEdit(2)));  // the last name, selected
        QTRY_COMPARE(dlg_->nameEdit(2)->selectedText(), QStringLiteral("Player 2"));

        dlg_->frictionToggle()->click();
        QCOMPARE(dlg_->frictionToggleColor(), rgb(255, 255, 255));
        const capzel::NewGameSettings s = dlg_->settings();
        for (int r = 1; r <= 8; ++r) {
            QVERIFY(!dlg_->frictionFrame(r)->isVisible());
            QCOMPARE(s.friction[std::size_t(r)], FrictionLevel::Normal);
        }
    }

    // Names stop at a saved game's length in code points, typed or pasted: never half an emoji, the cursor after what came in.
    void namesStopAtTheLimitInCharacters() {
        const QString emoji = QString::fromUcs4(U"\U0001F600");
        const auto limit = qsizetype(capzel::saveLimits::kMaxNameLength);
        const auto times = [](const QString& s, int n) { return s.repeated(n); };
        // The start and its cursor (characters, -1 the end); typed a key a character, then pasted; text and cursor (UTF-16) after.
        const struct { const char* what; QString start; int cursor; QString typed, pasted, text; int cursorAfter; } rows[] = {
            {"40 emoji typed, a 41st refused", {}, -1, times(emoji, 41), {}, times(emoji, 40), 80},
            {"40 letters typed, a 41st refused", {}, -1, times("n", 41), {}, times("n", 40), 40},
            {"an emoji as the 40th character", times("n", 39), -1, emoji + "x", {}, times("n", 39) + emoji, 41},
            {"50 emoji pasted", {}, -1, {}, times(emoji, 50), times(emoji, 40), 80},
            {"pasted inside: only what fits", times(emoji, 38), 2, {}, "ab" + emoji + "c", times(emoji, 2) + "ab" + times(emoji, 36), 6},
            {"a letter typed inside a full box", times(emoji, 40), 1, "a", {}, times(emoji, 40), 2},
        };
        QLineEdit* box = dlg_->nameEdit(1);
        for (const auto& r : rows) {
            box->setText(r.start);
            box->setCursorPosition(r.cursor < 0 ? int(r.start.size()) : r.cursor * 2);
            for (const char32_t c : r.typed.toUcs4())
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
            if (!r.pasted.isEmpty()) box->insert(r.pasted);
            QVERIFY2(box->text() == r.text && box->cursorPosition() == r.cursorAfter && box->text().toUcs4().size() <= limit, r.what);
        }
        // Set from outside, a name is cut at its end; the game gets all 40 characters.
        box->setText(times(emoji, 45));
        QVERIFY(box->text() == times(emoji, 40) && utf8Length(dlg_->settings().names[1]) == saveLimits::kMaxNameLength);
        // The validator alone, the cursor before what is too much: the end goes.
        QString text = times("n", 41);
        int pos = 0;
        QVERIFY(box->validator()->validate(text, pos) == QValidator::Acceptable && text == times("n", 40) && pos == 0);
    }

    void colourButtonTakesWhatTheDialogReports() {
        capzel::test::ModalAnswerer& script = *f.modals;
        script.chooseColor(Qt::green, true);  // cancelled at once: black, the dialog's colour before any choice
        dlg_->colorButton(1)->click();
        QCOMPARE(dlg_->buttonColor(1), Color(0));
        script.chooseColor(QColor(10, 20, 30));  // a choice, then a cancelled dialog: the last colour chosen
        dlg_->colorButton(1)->click();
        QCOMPARE(dlg_->buttonColor(1), rgb(10, 20, 30));
        choosePlayers(2);
        script.chooseColor(Qt::yellow, true);
        dlg_->colorButton(2)->click();
        QVERIFY(dlg_->buttonColor(2) == rgb(10, 20, 30) && script.done());
    }

    void newCommandAsksWhileAGameRuns() {
        QPointer<NewGameDialog> first(dlg_);
        MainWindow* main = &f.app->openMainWindow();  // the New command of init() closed the first one
        f.play();

        f.modals->answers = QStringList{"No", "Yes"};
        f.app->newGame();
        QCOMPARE(f.modals->messages(), QStringList{"Starting a new game will end the current one.  Are you sure you want to start a new game?"});
        QVERIFY(main->isVisible() && f.app->newGameDialog() == first.data());
        f.app->newGame();
        NewGameDialog* second = f.app->newGameDialog();
        QVERIFY(f.modals->answers.isEmpty() && !main->isVisible() && second && second != first.data() && second->isVisible());
        QTRY_VERIFY(first.isNull());  // the earlier dialog is discarded
    }

    // Play: the choices reach the game, a new main window replaces the old, the status window opens.
    void play() {
        const FrictionLevel levels[] = {FrictionLevel::VeryHigh, FrictionLevel::VeryLow, FrictionLevel::Low};
        QPointer<MainWindow> oldMain(f.app->mainWindow());
        choosePlayers(3);
        dlg_->frictionToggle()->click();
        for (int i = 1; i <= 3; ++i) {
            dlg_->nameEdit(i)->setText(QStringLiteral("P<b>%1</b>").arg(i));
            dlg_->frictionOption(i, levels[i - 1])->click();
        }
        dlg_->wallsCheck()->click();
        dlg_->seatChoice(2)->setCurrentIndex(dlg_->seatChoice(2)->findData(int(capzel::PlayerKind::Strong)));
        dlg_->playButton()->click();
        QCOMPARE(f.modals->messages(), QStringList{QStringLiteral("P<b>1</b>'s turn start.  Target: 2")});

        const capzel::Game& g = f.game();
        MainWindow* main = f.app->mainWindow();
        QVERIFY(main && main != oldMain.data() && main->isVisible());
        QVERIFY(!dlg_->isVisible() && f.app->newGameDialog() == dlg_);  // hidden, not discarded
        QTRY_VERIFY(oldMain.isNull() && g.gameRunning && !g.wallsOn && g.numberOfPlayers == 3);
        const capzel::Board& b = main->game().board;
        for (int i = 1; i <= 8; ++i) {
            QCOMPARE(b.pieces[i].visible, i <= 3);
            if (i > 3) continue;
            QCOMPARE(g.seats[i].score, (QList<int>{400, 10, 120}[i - 1]));  // the friction chosen sets the starting score
            QCOMPARE(g.seats[i].kind, i == 2 ? capzel::PlayerKind::Strong : capzel::PlayerKind::Human);
            QCOMPARE(g.seats[i].name, QStringLiteral("P<b>%1</b>").arg(i).toStdString());
            QCOMPARE(b.pieces[i].fillColor, capzel::defaultPlayerColor(i));  // the activation painted them
        }
        QVERIFY(f.app->statusWindow() && f.app->statusWindow()->isVisible());
    }
};

CAPZEL_QT_TEST(NewGameTest)
#include "tst_newgame.moc"
