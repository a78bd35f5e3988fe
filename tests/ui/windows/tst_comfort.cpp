// The player's comforts in the main window: the settings window and its
// values kept across a restart, the rules' messages on the field instead of
// in boxes, and the steady power bar.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QtTest>

#include "model/Pace.h"
#include "model/Placement.h"
#include "players/PlannedShot.h"
#include "players/Planner.h"
#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "ui/windows/ComputerPlay.h"
#include "ui/windows/RuleBanner.h"
#include "ui/windows/SettingsDialog.h"

using capzel::PlayerKind;
using capzel::ui::PlayerSettings;

namespace {

// A shot of Ann's from where `setUp` leaves the game: the Expert's, or
// dragged `dx` twips left of her piece (it travels right) with a strength.
struct AimedShot {
    void (*setUp)(capzel::GameState&, capzel::Board&);
    bool planned;
    float dx = 0;
    std::int16_t power = 0;
};

void asLaidOut(capzel::GameState&, capzel::Board&) {}

// Bob is to lose his next turn.
void bobLosesHisTurn(capzel::GameState& g, capzel::Board&) { g.losingTurn[2] = true; }

// Ann a killer in box 13, Bob's piece just right of hers.
void killerBesidePrey(capzel::GameState& g, capzel::Board& b) {
    g.isKiller[1] = true;
    g.position[1] = 13;
    capzel::centrePieceOn(b.pieces[1], b.spots[13]);
    b.pieces[2].left = b.pieces[1].left + 900;
    b.pieces[2].top = b.pieces[1].top;
}

}  // namespace

class ComfortTest : public QObject {
    Q_OBJECT

    capzel::test::WindowFixture f;

    capzel::ui::MainWindow& w() { return f.window(); }

    void setMessages(PlayerSettings::RuleMessages mode) {
        PlayerSettings s = f.app->settings();
        s.ruleMessages = mode;
        f.app->setSettings(s);
    }

    // What the rules said of one shot on a fresh game, as boxes or on the banner.
    QStringList shotMessages(const AimedShot& shot) {
        f.play();
        f.modals->boxes.clear();
        shot.setUp(f.state(), f.board());
        const capzel::Box& piece = f.board().pieces[1];
        const float x = capzel::players::aimStartX(piece), y = capzel::players::aimStartY(piece);
        f.board().pointer = {x, y, x - shot.dx, y};
        std::int16_t power = shot.power;
        if (shot.planned) {
            const auto plan = capzel::players::planShot(f.state(), f.field(), capzel::PlayerKind::Expert, 7).shot;
            f.board().pointer = {x, y, plan.aimX, plan.aimY};
            power = capzel::players::barStrength(f.board(), plan.barTicks);
        }
        f.board().pointer.visible = true;
        if (!capzel::test::shoot(w(), power)) return {QStringLiteral("the shot never ended")};
        return f.modals->messages() + w().banner()->messages();
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void init() { QVERIFY(f.open()); }
    void cleanup() {
        f.close();
        capzel::ui::savePlayerSettings(PlayerSettings());  // the next test starts classic
    }

    // Every control of the settings window changes its value at once, the
    // window applies it, and a new run of the program finds it kept.
    void settingsAreKeptAcrossARestart() {
        w().menus().settingsAction->trigger();
        auto* dialog = w().findChild<capzel::ui::SettingsDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        dialog->ruleMessagesBox()->setCurrentIndex(1);
        dialog->sizeBox()->setCurrentIndex(3);
        dialog->soundEffectsBox()->setChecked(true);
        dialog->effectsVolumeSlider()->setValue(35);
        dialog->musicVolumeSlider()->setValue(60);
        dialog->musicMutedBox()->setChecked(true);
        dialog->aimLineBox()->setCurrentIndex(1);
        dialog->barPaceBox()->setCurrentIndex(1);
        PlayerSettings chosen;
        chosen.ruleMessages = PlayerSettings::RuleMessages::OnTheField;
        chosen.sizePercent = 200;
        chosen.soundEffects = true;
        chosen.effectsVolume = 35;
        chosen.musicVolume = 60;
        chosen.musicMuted = true;
        chosen.aimLine = PlayerSettings::AimLine::Bold;
        chosen.barPace = PlayerSettings::BarPace::Steady;
        chosen.coachDone = true;  // not the window's: it stays as kept
        PlayerSettings kept = f.app->settings();
        kept.coachDone = true;
        QCOMPARE(kept, chosen);
        QVERIFY(w().view()->boldAim());

        f.close();
        QVERIFY(f.open());
        PlayerSettings again = f.app->settings();
        again.coachDone = true;
        QCOMPARE(again, chosen);
        QVERIFY(w().view()->boldAim());
        w().menus().settingsAction->trigger();
        dialog = w().findChild<capzel::ui::SettingsDialog*>();
        QVERIFY(dialog);
        QCOMPARE(dialog->sizeBox()->currentText(), QStringLiteral("200 %"));
        QVERIFY(dialog->musicMutedBox()->isChecked() && !dialog->musicVolumeSlider()->isEnabled());
    }

    // The banner tells a shot with the very texts the boxes do, in order,
    // and opens no box; so does the first turn of a new game.
    void bannerTellsWhatTheBoxesTell() {
        // The turn passes, or passes a player by; targets reached (lines of
        // their own); a killer's hit.
        const AimedShot shots[] = {{asLaidOut, false, 500, 4000}, {bobLosesHisTurn, false, 500, 4000}, {asLaidOut, true},
                                   {killerBesidePrey, false, 300, 1500}};
        for (const AimedShot& shot : shots) {
            setMessages(PlayerSettings::RuleMessages::Boxes);
            const QStringList boxed = shotMessages(shot);
            setMessages(PlayerSettings::RuleMessages::OnTheField);
            const QStringList shown = shotMessages(shot);
            QVERIFY(!boxed.isEmpty());
            QCOMPARE(shown, boxed);
            QVERIFY(f.modals->messages().isEmpty());
            const QList<QLabel*> labels = w().banner()->shownLabels();
            QCOMPARE(int(labels.size()), std::min(int(shown.size()), capzel::ui::RuleBanner::kShownAtOnce));
            for (int i = 0; i < labels.size(); ++i) {
                QCOMPARE(labels[i]->text(), shown[i]);
                QVERIFY(labels[i]->isVisible());
            }
            w().banner()->clear();
        }
        f.state().gameRunning = false;  // no question before the new game
        QVERIFY(f.startGame({QStringLiteral("<b>Ann</b>"), QStringLiteral("Bob")}));
        QVERIFY(f.modals->boxes.isEmpty());
        QCOMPARE(int(w().banner()->messages().size()), 1);
        QVERIFY(w().banner()->messages().front().contains(QStringLiteral("<b>Ann</b>")));
        QCOMPARE(w().banner()->shownLabels().front()->textFormat(), Qt::PlainText);
    }

    // A click takes one message away without starting the power bar; the
    // next aim takes the rest once they have been read.
    void bannerGoesOnClickAndAim() {
        setMessages(PlayerSettings::RuleMessages::OnTheField);
        f.play();
        capzel::ui::RuleBanner& banner = *w().banner();
        for (const char* text : {"one", "two", "three", "four"}) banner.post(QString::fromLatin1(text));
        QCOMPARE(int(banner.shownLabels().size()), capzel::ui::RuleBanner::kShownAtOnce);
        QTest::mouseClick(banner.shownLabels()[1], Qt::LeftButton);
        QCOMPARE(banner.messages(), QStringList({"one", "three", "four"}));
        QCOMPARE(w().turn().phase(), capzel::TurnPhase::Idle);

        banner.readingMs = 60000;  // not read yet: an aim leaves them
        capzel::test::aim(w());
        w().showProgress();
        QCOMPARE(int(banner.messages().size()), 3);
        w().turn().cancel();
        w().showProgress();
        banner.readingMs = 0;
        capzel::test::aim(w());
        w().showProgress();
        QTRY_VERIFY(banner.messages().isEmpty());
        QVERIFY(!banner.isVisible());
    }

    // A computer's turn is told on the banner too, and its aim takes the
    // messages away as a person's does; nothing waits for the person.
    void bannerOnAComputersTurn() {
        setMessages(PlayerSettings::RuleMessages::OnTheField);
        f.play(PlayerKind::Human, PlayerKind::Expert);
        w().banner()->readingMs = 0;
        capzel::test::aim(w());
        QVERIFY(capzel::test::shoot(w()));
        QCOMPARE(w().banner()->messages(), QStringList({QStringLiteral("Bob's turn start.  Target: 2")}));
        QTRY_VERIFY_WITH_TIMEOUT(w().computerPlay().turn() && f.board().pointer.visible, 60000);
        QTRY_VERIFY(w().banner()->messages().isEmpty());
        QVERIFY(f.modals->messages().isEmpty());
    }

    // Steady doubles the waits of the bar's ticks, and of nothing else: not
    // the bar's speed measurement, not a shot.
    void steadyBarRunsAtHalfSpeed() {
        using capzel::ui::StepScheduler;
        f.play();
        capzel::test::aim(w());
        w().turn().mouseUp();
        QVERIFY(w().turn().charging());
        StepScheduler& clock = w().scheduler();
        struct Case { PlayerSettings::BarPace pace; long yields; int factor; };
        for (const Case c : {Case{PlayerSettings::BarPace::Classic, 200, 1}, Case{PlayerSettings::BarPace::Steady, 200, 2},
                             Case{PlayerSettings::BarPace::Steady, 1, 2},
                             Case{PlayerSettings::BarPace::Steady, capzel::kCalibrationYields, 1}}) {
            PlayerSettings s = f.app->settings();
            s.barPace = c.pace;
            f.app->setSettings(s);
            QCOMPARE(clock.waitOf(c.yields).count(), (c.yields * c.factor * StepScheduler::kYield).count());
        }
        w().turn().goClicked();
        QTRY_VERIFY(!w().turn().charging());
        QCOMPARE(clock.waitOf(400).count(), (400 * StepScheduler::kYield).count());
    }
};

CAPZEL_QT_TEST(ComfortTest)
#include "tst_comfort.moc"
