// The main window's side of the player's comforts: the rules' messages in a
// strip beside the field instead of in boxes (with the online chat and the
// watching cue), the first-game steps, the settings window, and applying a
// change of the settings at once (the sound's too).
#include <QHBoxLayout>
#include <QLayout>

#include "controls/Announcing.h"
#include "audio/EffectSounds.h"
#include "audio/MusicPlayer.h"
#include "desktop/QtPlatform.h"
#include "desktop/ComputerPlay.h"
#include "ui/windows/FieldView.h"
#include "ui/windows/FirstGameCoach.h"
#include "ui/windows/GameHost.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/RuleBanner.h"
#include "ui/windows/SettingsDialog.h"
#include "ui/windows/SidePanel.h"
#include "desktop/StepScheduler.h"

namespace capzel::ui {

bool MainWindow::bannerMode() const {
    return app_.settings().ruleMessages == PlayerSettings::RuleMessages::OnTheField;
}

GameFlow MainWindow::tell(const Judgement& judgement) {
    if (!bannerMode()) return tellPlayers(*platform_, judgement);
    for (const Announcement& a : judgement.announcements) banner_->post(displayText(a.text));
    return judgement.flow;
}

void MainWindow::noticeAim() {
    const bool aiming = turn_->pending().aim.visible;
    if (aiming && !aimShown_) banner_->aimStarted();
    aimShown_ = aiming;
}

void MainWindow::applySettings() {
    const PlayerSettings& s = app_.settings();
    if (!bannerMode()) banner_->clear();
    updateSide();
    menus_.showHintsAction->setChecked(app_.showHints());
    view_->setHints(app_.showHints() ? &game() : nullptr);
    view_->setBoldAim(s.aimLine == PlayerSettings::AimLine::Bold);
    scheduler_->setSteadyCharge(s.barPace == PlayerSettings::BarPace::Steady);
    applySoundSettings();
    if (settingsDialog_) settingsDialog_->showKept();
}

// The field, and beside it the strip of messages and the chat when there is
// something to put there.
void MainWindow::buildClientArea() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    view_ = new FieldView(*turn_, marks_, client);
    view_->setFixedSize(kClientWidthPx, kClientHeightPx);
    side_ = new SidePanel(client);
    side_->hide();
    auto* row = new QHBoxLayout(client);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(view_, 0, Qt::AlignTop);
    row->addWidget(side_, 0, Qt::AlignTop);
    setCentralWidget(client);
    side_->fit(1.0, kClientHeightPx);
    banner_ = side_->banner();
    connect(banner_, &RuleBanner::changed, this, &MainWindow::updateSide);
}

// The first-game steps speak to a person at a game of this computer alone;
// an online game, whose turns are often played elsewhere, goes without them.
void MainWindow::followCoach() {
    if (!coach_ || !computerPlay_) return;
    const Game& g = game();
    coach_->follow(g.gameRunning && g.isPlayer(g.currentTurn) && !g.seats[g.currentTurn].dead &&
                   !computerPlay_->seatIsComputer() && !session().online());
}

void MainWindow::updateSide() {
    if (!side_) return;
    side_->setWatching(watchingOnly());
    const bool shown = bannerMode() || side_->holdsMore() || !banner_->messages().isEmpty();
    if (side_->isVisibleTo(this) == shown) return;
    side_->setVisible(shown);
    // The strip may make the window too wide for its size on this screen.
    setSizePercent(app_.settings().sizePercent);
    layout()->activate();
    if (isVisible()) fitOnScreen();
}

void MainWindow::dockBeside(QWidget* widget) {
    side_->dock(widget);
    updateSide();
}

bool MainWindow::watchingOnly() const {
    const GameSession& s = app_.session();
    if (!s.online()) return false;
    for (int seat = 1; seat <= kMaxPlayers; ++seat)
        if (s.seatPlayedHere(seat)) return false;
    return true;
}

void MainWindow::tellNotYourTurn() {
    const Game& g = app_.game();
    if (watchingOnly()) {
        side_->say(QStringLiteral("You are watching: only the players shoot, each at their own computer."));
    } else if (g.isPlayer(g.currentTurn)) {
        side_->say(QStringLiteral("It is %1's turn, played at another computer.")
                       .arg(QString::fromStdString(g.seats[std::size_t(g.currentTurn)].name)));
    }
    updateSide();
}

void MainWindow::setMusicPlayer(std::unique_ptr<MusicPlayer> player) {
    if (music_) {
        music_->onPlayStateChange = nullptr;
        music_->halt();
    }
    music_ = std::move(player);
    if (music_)
        music_->onPlayStateChange = [this](int previous, int current) {
            musicStateChanged(previous, current);
        };
    applySoundSettings();
}

void MainWindow::applySoundSettings() {
    const PlayerSettings& s = app_.settings();
    if (!music_) {
        platform_->effect = nullptr;
        return;
    }
    music_->setVolume(s.musicMuted ? 0 : s.musicVolume);
    if (!s.soundEffects || s.effectsVolume <= 0) {
        platform_->effect = nullptr;
        return;
    }
    platform_->effect = [this](SoundEffect effect, int loudness) {
        for (int key : percussionKeys(effect)) music_->strike(key, loudness, app_.settings().effectsVolume);
    };
}

void MainWindow::showSettings() {
    if (!settingsDialog_) {
        settingsDialog_ = new SettingsDialog(app_, this);
        settingsDialog_->setAttribute(Qt::WA_DeleteOnClose);
    }
    settingsDialog_->show();
    settingsDialog_->raise();
    settingsDialog_->activateWindow();
}

}  // namespace capzel::ui
