// The player's comforts: settings kept across a restart, the rules' messages on the field, the steady bar, the size.
#include "desktop/ComputerPlay.h"
#include "model/Pace.h"
#include "support/QtTestMain.h"
#include "ui/windows/FirstGameCoach.h"
#include "ui/windows/RuleBanner.h"
#include "ui/windows/SettingsDialog.h"
#include "ui/windows/StatusWindow.h"

using capzel::PlayerKind;
using capzel::ui::PlayerSettings;

namespace {

// Pixels of `b` whose colour is plainly none of `a`'s at its place or next to it (lines a pixel off pass).
int differing(const QImage& a, const QImage& b) {
    auto near = [](QRgb p, QRgb q) {
        return std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))}) <= 96;
    };
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            bool found = false;
            for (int v = std::max(0, y - 1); v <= std::min(a.height() - 1, y + 1) && !found; ++v)
                for (int u = std::max(0, x - 1); u <= std::min(a.width() - 1, x + 1) && !found; ++u)
                    found = near(a.pixel(u, v), b.pixel(x, y));
            n += !found;
        }
    return n;
}

}  // namespace

class ComfortTest : public capzel::test::WindowTest {
    Q_OBJECT

    capzel::ui::MainWindow& w() { return f.window(); }

    template <class T>
    void set(T PlayerSettings::*setting, std::type_identity_t<T> value) {
        PlayerSettings s = f.app->settings();
        s.*setting = value;
        f.app->setSettings(s);
    }

    // What the rules said of a shot of Ann's on a fresh game, as boxes or on the banner.
    QStringList shotMessages(bool bobLosesHisTurn) {
        f.play();
        f.modals->boxes.clear();
        f.change([bobLosesHisTurn](capzel::Game& g) { g.seats[2].losingTurn = bobLosesHisTurn; });
        capzel::test::aim(w());
        if (!capzel::test::shoot(w())) return {QStringLiteral("the shot never ended")};
        return f.modals->messages() + w().banner()->messages();
    }

private slots:
    void cleanup() {
        f.close();
        capzel::ui::savePlayerSettings(PlayerSettings());  // the next test starts classic
    }

    // Every control of the settings window applies its value at once, and a new run finds it kept.
    void settingsAreKeptAcrossARestart() {
        w().menus().settingsAction->trigger();
        auto* dialog = w().findChild<capzel::ui::SettingsDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        dialog->ruleMessagesBox()->setCurrentIndex(1), dialog->sizeBox()->setCurrentIndex(3), dialog->soundEffectsBox()->setChecked(true);
        dialog->effectsVolumeSlider()->setValue(35), dialog->musicVolumeSlider()->setValue(60), dialog->musicMutedBox()->setChecked(true);
        dialog->aimLineBox()->setCurrentIndex(1), dialog->barPaceBox()->setCurrentIndex(1);
        for (QCheckBox* helper : {dialog->fieldHintsBox(), dialog->statusMarksBox(), dialog->endChartBox(), dialog->buttonIconsBox()})
            helper->setChecked(true);
        const PlayerSettings chosen{PlayerSettings::RuleMessages::OnTheField, 200, true, 35, 60, true, PlayerSettings::AimLine::Bold,
                                    PlayerSettings::BarPace::Steady, f.app->settings().coachDone, true, true, true, true};
        QCOMPARE(f.app->settings(), chosen);
        f.close();
        QVERIFY(f.open() && f.app->settings() == chosen && w().view()->boldAim());
        w().menus().settingsAction->trigger();
        dialog = w().findChild<capzel::ui::SettingsDialog*>();
        QVERIFY(dialog && dialog->sizeBox()->currentText() == "200 %" && dialog->musicMutedBox()->isChecked() && !dialog->musicVolumeSlider()->isEnabled());
    }

    // The banner tells a shot (and a new game's first turn) with the very texts the boxes do, beside the field, opening no box.
    void bannerTellsWhatTheBoxesTell() {
        for (bool bobLoses : {false, true}) {  // the turn passes; it passes Bob by (two messages)
            set(&PlayerSettings::ruleMessages, PlayerSettings::RuleMessages::Boxes);
            const QStringList boxed = shotMessages(bobLoses);
            set(&PlayerSettings::ruleMessages, PlayerSettings::RuleMessages::OnTheField);
            const QStringList shown = shotMessages(bobLoses);
            QVERIFY(!boxed.isEmpty() && f.modals->messages().isEmpty() && shown == boxed);
            const QList<QLabel*> labels = w().banner()->shownLabels();
            QCOMPARE(int(labels.size()), std::min(int(shown.size()), capzel::ui::RuleBanner::kShownAtOnce));
            const QRect field(w().view()->mapTo(&w(), QPoint()), w().view()->size());
            for (int i = 0; i < labels.size(); ++i) {
                QVERIFY(labels[i]->text() == shown[i] && labels[i]->isVisible());
                QVERIFY(!field.intersects(QRect(labels[i]->mapTo(&w(), QPoint()), labels[i]->size())));
            }
            w().banner()->clear();
        }
        f.change([](capzel::Game& g) { g.gameRunning = false; });  // no question before the new game
        QVERIFY(f.startGame({QStringLiteral("<b>Ann</b>"), QStringLiteral("Bob")}));
        QVERIFY(f.modals->boxes.isEmpty() && w().banner()->messages().size() == 1 && w().banner()->messages().front().contains("<b>Ann</b>"));
        QCOMPARE(w().banner()->shownLabels().front()->textFormat(), Qt::PlainText);
    }

    // A click takes one message away without starting the bar; an aim takes the rest once read, a computer's as a person's.
    void bannerGoesOnClickAndAim() {
        set(&PlayerSettings::ruleMessages, PlayerSettings::RuleMessages::OnTheField);
        f.play(PlayerKind::Human, PlayerKind::Expert);
        capzel::ui::RuleBanner& banner = *w().banner();
        for (const char* text : {"one", "two", "three", "four"}) banner.post(QString::fromLatin1(text));
        QCOMPARE(int(banner.shownLabels().size()), capzel::ui::RuleBanner::kShownAtOnce);
        QTest::mouseClick(banner.shownLabels()[1], Qt::LeftButton);
        QVERIFY(banner.messages() == QStringList({"one", "three", "four"}) && w().turn().phase() == capzel::TurnPhase::Idle);
        banner.withdraw(QStringLiteral("three"));  // no longer true: it goes unread
        QCOMPARE(banner.messages(), QStringList({"one", "four"}));
        banner.readingMs = 60000;  // not read yet: an aim leaves them
        capzel::test::aim(w());
        w().showProgress();
        QCOMPARE(int(banner.messages().size()), 2);
        w().turn().cancel();
        w().showProgress();
        banner.readingMs = 0;
        capzel::test::aim(w());
        w().showProgress();
        QTRY_VERIFY(banner.messages().isEmpty() && !banner.isVisible());

        QVERIFY(capzel::test::shoot(w()) && banner.messages() == QStringList({"Bob's turn start.  Target: 2"}));
        QTRY_VERIFY_WITH_TIMEOUT(w().computerPlay().turn() && w().turn().pending().aim.visible, 60000);
        QTRY_VERIFY(banner.messages().isEmpty() && f.modals->messages().isEmpty());
    }

    // A fresh configuration is classic: no marks on field or status window, no end chart, no icons on buttons; each helper shows when on.
    void aFreshConfigurationIsClassic() {
        QVERIFY(!f.app->settings().anyHelper() && !w().menus().showHintsAction->isChecked());
        QVERIFY(f.startGame({QStringLiteral("Ann"), QStringLiteral("Bob")}));
        f.change([](capzel::Game& g) { g.seats[2].dead = true; });  // Bob is out: Ann plays on
        capzel::test::aim(w());
        QVERIFY(capzel::test::shoot(w(), 3000));
        capzel::ui::StatusWindow* status = f.app->statusWindow();
        QVERIFY(status && !status->marks());
        status->refreshRows();
        QVERIFY(status->turnRow() == 0 && !status->rowMarkedOut(2));
        const QImage classic = f.fieldPicture();
        const auto okIcon = [] { return !QMessageBox(QMessageBox::NoIcon, "Capzel", "x", QMessageBox::Ok).button(QMessageBox::Ok)->icon().isNull(); };
        const auto chartOpen = [] {
            const QWidgetList all = QApplication::topLevelWidgets();
            return std::any_of(all.begin(), all.end(), [](const QWidget* w) { return w->objectName() == "gameChartWindow" && w->isVisible(); });
        };
        f.app->gameEnded();
        QVERIFY(!okIcon() && !chartOpen());

        PlayerSettings helpers = f.app->settings();
        helpers.turnOnHelpers();
        f.app->setSettings(helpers);
        status->refreshRows();
        QVERIFY(status->marks() && status->turnRow() == f.game().currentTurn && status->rowMarkedOut(2));
        QVERIFY(differing(classic, f.fieldPicture()) > 50);  // the rings and the outline
        f.app->gameEnded();
        QVERIFY(okIcon() && chartOpen());
    }

    // Steady doubles the waits of the bar's ticks, and of nothing else: not the bar's speed measurement, not a shot.
    void steadyBarRunsAtHalfSpeed() {
        using capzel::ui::StepScheduler;
        f.play();
        capzel::test::aim(w());
        w().turn().mouseUp();
        StepScheduler& clock = w().scheduler();
        const auto waits = [&clock](long yields, int factor) { return clock.waitOf(yields) == yields * factor * StepScheduler::kYield; };
        QVERIFY(w().turn().charging() && waits(200, 1));
        set(&PlayerSettings::barPace, PlayerSettings::BarPace::Steady);
        QVERIFY(waits(200, 2) && waits(1, 2) && waits(capzel::kCalibrationYields, 1));
        w().turn().goClicked();
        QTRY_VERIFY(!w().turn().charging() && waits(400, 1));
    }

    // At 200 % the field is the 100 % picture scaled, twips stay, the mouse reports designed twips, the first-game steps grow alike.
    void theFieldScalesAsAPicture() {
        set(&PlayerSettings::coachDone, true);  // the field alone: the first-game steps are a panel of their own
        f.play();
        f.change([](capzel::Game& g) {
            g.board.pieces[1].left = 2250, g.board.pieces[1].top = 6750, g.board.pieces[2].left = 6015, g.board.pieces[2].top = 3007;
            g.board.pieces[1].visible = g.board.pieces[2].visible = true;
        });
        f.moveOverField(QPointF(40, 600));  // the aim line, from piece 1
        w().turn().mouseUp();               // the bar and "Go" show
        w().view()->setSuggestion(capzel::ui::SuggestedShot{2400, 6900, 9000, 1200, 3000, 62});
        const QImage classic = f.fieldPicture();
        const capzel::Game before = f.game();
        set(&PlayerSettings::sizePercent, 200);
        const QImage large = f.fieldPicture();
        QCOMPARE(large.size(), classic.size() * 2);
        const int off = differing(classic.scaled(large.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation), large);
        QVERIFY2(off < large.width() * large.height() / 2000 && f.game() == before, qPrintable(QString::number(off)));
        set(&PlayerSettings::sizePercent, 100);
        QCOMPARE(f.fieldPicture(), classic);

        w().turn().cancel();
        QPointF seen;
        w().view()->onMouseMove = [&seen](int, int, float x, float y) { seen = {x, y}; };
        const QRect coach = w().coach()->geometry();
        for (int percent : {150, 100}) {
            set(&PlayerSettings::sizePercent, percent);
            const QRect grown = w().coach()->geometry();
            QVERIFY(std::abs(grown.width() - coach.width() * percent / 100) <= 1 && std::abs(grown.top() - coach.top() * percent / 100) <= 1);
            f.moveOverField(QPointF(123.4, 456.8) * (percent / 100.0));
            QCOMPARE(seen, QPointF(float(123.4 * 15), float(456.8 * 15)));
        }
    }

    // At every size the status window's texts and "Go"'s stay inside their cells, and the menus grow.
    void textsFitAtEverySize() {
        f.play();
        f.change([](capzel::Game& g) {
            g.numberOfPlayers = 8;
            g.recreatePerGameTables();
            for (int i = 1; i <= 8; ++i)
                g.seats[i].name = "Wilhelmina Bartholomew " + std::to_string(i), g.seats[i].score = 999999, g.seats[i].position = 10 + i;
        });
        f.app->showStatus();
        w().turn().mouseUp();
        for (int percent : capzel::ui::kSizeChoices) {
            set(&PlayerSettings::sizePercent, percent);
            f.app->statusWindow()->refreshRows();
            for (const QLabel* l : f.app->statusWindow()->findChildren<QLabel*>()) {
                if (!l->isVisibleTo(l->window()) || l->text().isEmpty()) continue;
                const QFontMetrics m = l->fontMetrics();
                const int room = l->width() - m.horizontalAdvance(l->text());
                const int x = l->alignment() & Qt::AlignRight ? room : l->alignment() & Qt::AlignHCenter ? room / 2 : 0;
                QVERIFY2(l->rect().contains(m.tightBoundingRect(l->text()).translated(x, m.ascent())), qPrintable(l->objectName()));
            }
            const QPushButton* go = w().view()->goButton();
            QVERIFY(go->fontMetrics().horizontalAdvance(go->text()) <= go->width() - 8 && go->fontMetrics().height() <= go->height() - 8);
            QCOMPARE(w().menuBar()->font().pointSizeF(), QApplication::font().pointSizeF() * percent / 100);
        }
    }
};

CAPZEL_QT_TEST(ComfortTest)
#include "tst_comfort.moc"
