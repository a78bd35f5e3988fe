// The main window's side of the player's comforts: the rules' messages on
// the field instead of in boxes, the settings window, and applying a change
// of the settings at once (the sound's too).
#include <QLayout>

#include "controls/Announcing.h"
#include "ui/audio/EffectSounds.h"
#include "ui/audio/MusicPlayer.h"
#include "ui/desktop/QtPlatform.h"
#include "ui/windows/FieldView.h"
#include "ui/windows/GameHost.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/RuleBanner.h"
#include "ui/windows/SettingsDialog.h"
#include "ui/windows/SidePanel.h"
#include "ui/windows/StepScheduler.h"

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
    const bool aiming = field().board.pointer.visible;
    if (aiming && !aimShown_) banner_->aimStarted();
    aimShown_ = aiming;
}

void MainWindow::applySettings() {
    const PlayerSettings& s = app_.settings();
    if (!bannerMode()) banner_->clear();
    updateSide();
    menus_.showHintsAction->setChecked(app_.showHints());
    view_->setHints(app_.showHints() ? &state() : nullptr);
    view_->setBoldAim(s.aimLine == PlayerSettings::AimLine::Bold);
    scheduler_->setSteadyCharge(s.barPace == PlayerSettings::BarPace::Steady);
    applySoundSettings();
    if (settingsDialog_) settingsDialog_->showKept();
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
    const GameState& g = app_.state();
    if (watchingOnly()) {
        side_->say(QStringLiteral("You are watching: only the players shoot, each at their own computer."));
    } else if (g.isPlayer(g.currentTurn)) {
        side_->say(QStringLiteral("It is %1's turn, played at another computer.")
                       .arg(QString::fromStdString(g.playerName[std::size_t(g.currentTurn)])));
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
