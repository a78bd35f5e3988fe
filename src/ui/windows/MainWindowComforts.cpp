// The main window's side of the player's comforts: the rules' messages on
// the field instead of in boxes, the settings window, and applying a change
// of the settings at once (the sound's too).
#include "controls/Announcing.h"
#include "ui/audio/EffectSounds.h"
#include "ui/audio/MusicPlayer.h"
#include "ui/desktop/QtPlatform.h"
#include "ui/windows/FieldView.h"
#include "ui/windows/GameHost.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/RuleBanner.h"
#include "ui/windows/SettingsDialog.h"
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
    const bool aiming = turn_->pending().aim.visible;
    if (aiming && !aimShown_) banner_->aimStarted();
    aimShown_ = aiming;
}

void MainWindow::applySettings() {
    const PlayerSettings& s = app_.settings();
    if (!bannerMode()) banner_->clear();
    view_->setBoldAim(s.aimLine == PlayerSettings::AimLine::Bold);
    scheduler_->setSteadyCharge(s.barPace == PlayerSettings::BarPace::Steady);
    applySoundSettings();
    if (settingsDialog_) settingsDialog_->showKept();
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
