// The player's comforts in the main window: the settings window and its
// values kept across a restart, the rules' messages on the field instead of
// in boxes, the steady power bar, and the player's size (the main window and
// the status window grow alike, the game's twips stay).
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <cstdlib>

#include "model/Pace.h"
#include "model/Placement.h"
#include "players/PlannedShot.h"
#include "players/Planner.h"
#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "desktop/ComputerPlay.h"
#include "ui/windows/FirstGameCoach.h"
#include "ui/windows/RuleBanner.h"
#include "ui/windows/SettingsDialog.h"
#include "ui/windows/SidePanel.h"
#include "ui/windows/WindowZoom.h"
#include "ui/windows/StatusWindow.h"

using capzel::PlayerKind;
using capzel::ui::PlayerSettings;

namespace {

// A shot of Ann's from where `setUp` leaves the game: the Expert's, or
// dragged `dx` twips left of her piece (it travels right) with a strength.
struct AimedShot {
    void (*setUp)(capzel::Game&);
    bool planned;
    float dx = 0;
    std::int16_t power = 0;
};

void asLaidOut(capzel::Game&) {}

// Bob is to lose his next turn.
void bobLosesHisTurn(capzel::Game& g) { g.seats[2].losingTurn = true; }

// Ann a killer in box 13, Bob's piece just right of hers.
void killerBesidePrey(capzel::Game& g) {
    capzel::Board& b = g.board;
    g.seats[1].isKiller = true;
    g.seats[1].position = 13;
    capzel::centrePieceOn(b.pieces[1], b.spots[13]);
    b.pieces[2].left = b.pieces[1].left + 900;
    b.pieces[2].top = b.pieces[1].top;
}

// Pixels of `b` whose colour is plainly none of those of `a` (same size,
// RGB32) at its place or next to it: lines one pixel off are not counted.
int differing(const QImage& a, const QImage& b) {
    auto near = [](QRgb p, QRgb q) {
        return std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))}) <= 96;
    };
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            bool found = false;
            for (int v = std::max(0, y - 1); v <= std::min(a.height() - 1, y + 1) && !found; ++v) {
                const auto* row = reinterpret_cast<const QRgb*>(a.constScanLine(v));
                for (int u = std::max(0, x - 1); u <= std::min(a.width() - 1, x + 1) && !found; ++u)
                    found = near(row[u], reinterpret_cast<const QRgb*>(b.constScanLine(y))[x]);
            }
            n += !found;
        }
    return n;
}

// No ink of the texts of `labels` falls outside its label, as aligned there.
void expectTextsFit(const QList<QLabel*>& labels, int percent) {
    for (const QLabel* l : labels) {
        if (!l->isVisibleTo(l->window()) || l->text().isEmpty()) continue;
        const QFontMetrics m = l->fontMetrics();
        const int room = l->width() - m.horizontalAdvance(l->text());
        const int x = l->alignment() & Qt::AlignRight ? room : l->alignment() & Qt::AlignHCenter ? room / 2 : 0;
        QVERIFY2(l->rect().contains(m.tightBoundingRect(l->text()).translated(x, m.ascent())),
                 qPrintable(QString("%1 at %2 %").arg(l->objectName()).arg(percent)));
    }
}

}  // namespace

class ComfortTest : public QObject {
    Q_OBJECT

    capzel::test::WindowFixture f;

    capzel::ui::MainWindow& w() { return f.window(); }

    // Changes one of the player's settings, as the settings window does.
    template <class T>
    void set(T PlayerSettings::*setting, std::type_identity_t<T> value) {
        PlayerSettings s = f.app->settings();
        s.*setting = value;
        f.app->setSettings(s);
    }

    // What the rules said of one shot on a fresh game, as boxes or on the banner.
    QStringList shotMessages(const AimedShot& shot) {
        f.play();
        f.modals->boxes.clear();
        f.change(shot.setUp);
        const capzel::Box& piece = f.board().pieces[1];
        const float x = capzel::players::aimStartX(piece), y = capzel::players::aimStartY(piece);
        capzel::Line aim{x, y, x - shot.dx, y, true};
        std::int16_t power = shot.power;
        if (shot.planned) {
            const auto plan = capzel::players::planShot(f.game(), capzel::PlayerKind::Expert, 7).shot;
            aim = {x, y, plan.aimX, plan.aimY, true};
            power = capzel::players::barStrength(f.board(), plan.barTicks);
        }
        w().turn().showAim(aim, std::nullopt);
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
        for (QCheckBox* helper : {dialog->fieldHintsBox(), dialog->statusMarksBox(), dialog->endChartBox(), dialog->buttonIconsBox()})
            helper->setChecked(true);
        PlayerSettings chosen;
        chosen.turnOnHelpers();
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
            set(&PlayerSettings::ruleMessages, PlayerSettings::RuleMessages::Boxes);
            const QStringList boxed = shotMessages(shot);
            set(&PlayerSettings::ruleMessages, PlayerSettings::RuleMessages::OnTheField);
            const QStringList shown = shotMessages(shot);
            QVERIFY(!boxed.isEmpty());
            QCOMPARE(shown, boxed);
            QVERIFY(f.modals->messages().isEmpty());
            const QList<QLabel*> labels = w().banner()->shownLabels();
            QCOMPARE(int(labels.size()), std::min(int(shown.size()), capzel::ui::RuleBanner::kShownAtOnce));
            const QRect field(w().view()->mapTo(&w(), QPoint()), w().view()->size());
            for (int i = 0; i < labels.size(); ++i) {
                QCOMPARE(labels[i]->text(), shown[i]);
                QVERIFY(labels[i]->isVisible());
                QVERIFY(!field.intersects(QRect(labels[i]->mapTo(&w(), QPoint()), labels[i]->size())));  // beside the field
            }
            w().banner()->clear();
        }
        f.change([](capzel::Game& g) { g.gameRunning = false; });  // no question before the new game
        QVERIFY(f.startGame({QStringLiteral("<b>Ann</b>"), QStringLiteral("Bob")}));
        QVERIFY(f.modals->boxes.isEmpty());
        QCOMPARE(int(w().banner()->messages().size()), 1);
        QVERIFY(w().banner()->messages().front().contains(QStringLiteral("<b>Ann</b>")));
        QCOMPARE(w().banner()->shownLabels().front()->textFormat(), Qt::PlainText);
    }

    // A click takes one message away without starting the power bar; the
    // next aim takes the rest once they have been read.
    void bannerGoesOnClickAndAim() {
        set(&PlayerSettings::ruleMessages, PlayerSettings::RuleMessages::OnTheField);
        f.play();
        capzel::ui::RuleBanner& banner = *w().banner();
        for (const char* text : {"one", "two", "three", "four"}) banner.post(QString::fromLatin1(text));
        QCOMPARE(int(banner.shownLabels().size()), capzel::ui::RuleBanner::kShownAtOnce);
        QTest::mouseClick(banner.shownLabels()[1], Qt::LeftButton);
        QCOMPARE(banner.messages(), QStringList({"one", "three", "four"}));
        QCOMPARE(w().turn().phase(), capzel::TurnPhase::Idle);
        banner.withdraw(QStringLiteral("three"));  // no longer true: it goes unread
        QCOMPARE(banner.messages(), QStringList({"one", "four"}));
        banner.post(QStringLiteral("three"));

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
        set(&PlayerSettings::ruleMessages, PlayerSettings::RuleMessages::OnTheField);
        f.play(PlayerKind::Human, PlayerKind::Expert);
        w().banner()->readingMs = 0;
        capzel::test::aim(w());
        QVERIFY(capzel::test::shoot(w()));
        QCOMPARE(w().banner()->messages(), QStringList({QStringLiteral("Bob's turn start.  Target: 2")}));
        QTRY_VERIFY_WITH_TIMEOUT(w().computerPlay().turn() && w().turn().pending().aim.visible, 60000);
        QTRY_VERIFY(w().banner()->messages().isEmpty());
        QVERIFY(f.modals->messages().isEmpty());
    }

    // A fresh configuration is the classic game: no marks on the field or in
    // the status window, no chart when a game ends, no icons on the boxes'
    // buttons. Each helper, turned on, shows.
    void aFreshConfigurationIsClassic() {
        QVERIFY(!f.app->settings().anyHelper() && !w().menus().showHintsAction->isChecked());
        QVERIFY(f.startGame({QStringLiteral("Ann"), QStringLiteral("Bob")}));
        f.change([](capzel::Game& g) { g.seats[2].dead = true; });  // Bob is out: Ann plays on
        capzel::test::aim(w());
        QVERIFY(capzel::test::shoot(w(), 3000));
        QVERIFY(f.game().gameRunning && f.app->session().record().shotCount() == 1);
        capzel::ui::StatusWindow* status = f.app->statusWindow();
        QVERIFY(status && !status->marks());
        status->refreshRows();
        QVERIFY(status->turnRow() == 0 && !status->rowMarkedOut(2));
        const QImage classic = f.fieldPicture();
        const auto okIcon = [] {
            QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Capzel"), QStringLiteral("x"), QMessageBox::Ok);
            return !box.button(QMessageBox::Ok)->icon().isNull();
        };
        QVERIFY(!okIcon());
        const auto chartOpen = [] {
            const QWidgetList all = QApplication::topLevelWidgets();
            return std::any_of(all.begin(), all.end(), [](const QWidget* w) { return w->objectName() == "gameChartWindow" && w->isVisible(); });
        };
        f.app->gameEnded();
        QVERIFY(!chartOpen());

        PlayerSettings helpers = f.app->settings();
        helpers.turnOnHelpers();
        f.app->setSettings(helpers);
        status->refreshRows();
        QVERIFY(status->marks() && status->turnRow() == f.game().currentTurn && status->rowMarkedOut(2));
        QVERIFY(differing(classic, f.fieldPicture()) > 50);  // the rings and the outline
        QVERIFY(okIcon());
        f.app->gameEnded();
        QVERIFY(chartOpen());
    }

    // The main window's outer size at each zoom, with and without the strip
    // beside the field; the sizes offered are those at which it fits.
    void sizesThatFitTheScreen() {
        using capzel::ui::fittingSizePercent;
        QCOMPARE(w().outerSizeAt(1.0), w().frameGeometry().size());
        set(&PlayerSettings::ruleMessages, PlayerSettings::RuleMessages::OnTheField);
        QCOMPARE(w().outerSizeAt(1.0), w().frameGeometry().size());
        QVERIFY(!w().side()->geometry().intersects(w().view()->geometry()));
        const auto main = [](double zoom) { return QSize(int(730 * zoom) + 2, int(651 * zoom) + 30); };
        struct Case { QSize room; int percent; };
        for (const Case& c : {Case{{1600, 1200}, 150}, Case{{1280, 960}, 125}, Case{{2000, 1400}, 200}, Case{{800, 600}, 100},
                              Case{{1090, 1400}, 125}})
            QCOMPARE(fittingSizePercent(c.room, main), c.percent);
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
            set(&PlayerSettings::barPace, c.pace);
            QCOMPARE(clock.waitOf(c.yields).count(), (c.yields * c.factor * StepScheduler::kYield).count());
        }
        w().turn().goClicked();
        QTRY_VERIFY(!w().turn().charging());
        QCOMPARE(clock.waitOf(400).count(), (400 * StepScheduler::kYield).count());
    }

    // At 200 % the field is the 100 % picture scaled, pieces, aim, hints and "Go" included; the twips stay.
    void theFieldScalesAsAPicture() {
        set(&PlayerSettings::coachDone, true);  // the field alone: the first-game steps are a panel of their own
        f.play();  // the pieces in the players' colours
        f.change([](capzel::Game& g) {
            capzel::Board& b = g.board;
            b.pieces[1].left = 2250, b.pieces[1].top = 6750;
            b.pieces[2].left = 6015, b.pieces[2].top = 3007;
            b.pieces[1].visible = b.pieces[2].visible = true;
        });
        const capzel::Board& b = f.board();
        QMouseEvent drag(QEvent::MouseMove, QPointF(40, 600), QPointF(40, 600), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(f.window().view(), &drag);  // the aim line, from piece 1
        f.window().turn().mouseUp();  // the bar and "Go" show
        f.window().view()->setSuggestion(capzel::ui::SuggestedShot{2400, 6900, 9000, 1200, 3000, 62});
        const QImage classic = f.fieldPicture();
        const capzel::Board before = b;

        set(&PlayerSettings::sizePercent, 200);
        const QImage large = f.fieldPicture();
        QCOMPARE(large.size(), classic.size() * 2);
        const QImage expected = classic.scaled(large.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QVERIFY2(differing(expected, large) < large.width() * large.height() / 2000,
                 qPrintable(QString::number(differing(expected, large))));
        for (int i = 1; i <= capzel::kMaxPlayers; ++i)
            QVERIFY(b.pieces[i].left == before.pieces[i].left && b.pieces[i].top == before.pieces[i].top);
        QVERIFY(b.scaleWidth == before.scaleWidth && b.scaleHeight == before.scaleHeight);

        set(&PlayerSettings::sizePercent, 100);  // and back, as it was
        QCOMPARE(f.fieldPicture(), classic);
    }

    // Each size: the field's pixels, and the mouse at a zoomed point reports the designed point's twips.
    void sizesAndTheMouse() {
        struct Case { int percent, width, height; };
        QPointF seen;
        f.window().view()->onMouseMove = [&seen](int, int, float x, float y) { seen = {x, y}; };
        const QRect coach = f.window().coach()->geometry();  // the first-game steps grow with the field
        for (const Case& c : {Case{125, 913, 783}, Case{150, 1095, 939}, Case{200, 1460, 1252}, Case{100, 730, 626}}) {
            set(&PlayerSettings::sizePercent, c.percent);
            QCOMPARE(f.window().view()->size(), QSize(c.width, c.height));
            const QRect grown = f.window().coach()->geometry();
            QVERIFY(std::abs(grown.width() - coach.width() * c.percent / 100) <= 1 &&
                    std::abs(grown.top() - coach.top() * c.percent / 100) <= 1);
            const QPointF at = QPointF(123.4, 456.8) * (c.percent / 100.0);
            QMouseEvent move(QEvent::MouseMove, at, f.window().view()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(f.window().view(), &move);
            QCOMPARE(seen.x(), float(123.4 * 15));
            QCOMPARE(seen.y(), float(456.8 * 15));
        }
    }

    // At every size the status window grows with its text, which never runs past its cell; so does "Go".
    void textsFitAtEverySize() {
        f.play();
        f.change([](capzel::Game& g) {
            g.numberOfPlayers = 8;
            g.recreatePerGameTables();
            for (int i = 1; i <= 8; ++i) {
                g.seats[i].name = "Wilhelmina Bartholomew " + std::to_string(i);
                g.seats[i].score = 999999;
                g.seats[i].position = 10 + i;
            }
        });
        f.app->showStatus();
        capzel::ui::StatusWindow* status = f.app->statusWindow();
        f.window().turn().mouseUp();
        for (int percent : capzel::ui::kSizeChoices) {
            set(&PlayerSettings::sizePercent, percent);
            status->refreshRows();
            QCOMPARE(status->width(), int(std::lround(312 * percent / 100.0)));
            expectTextsFit(status->findChildren<QLabel*>(), percent);
            const QPushButton* go = f.window().view()->goButton();
            const QFontMetrics m = go->fontMetrics();
            QVERIFY(m.horizontalAdvance(go->text()) <= go->width() - 8 && m.height() <= go->height() - 8);
            QCOMPARE(f.window().menuBar()->font().pointSizeF(), QApplication::font().pointSizeF() * percent / 100);
        }
    }
};

CAPZEL_QT_TEST(ComfortTest)
#include "tst_comfort.moc"
