// The main window's side of the player's comforts: the rules' messages on
// the field instead of in boxes, the settings window, and applying a change
// of the settings at once.
#include "controls/Announcing.h"
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
    const bool aiming = field().board.pointer.visible;
    if (aiming && !aimShown_) banner_->aimStarted();
    aimShown_ = aiming;
}

void MainWindow::applySettings() {
    const PlayerSettings& s = app_.settings();
    if (!bannerMode()) banner_->clear();
    view_->setBoldAim(s.aimLine == PlayerSettings::AimLine::Bold);
    scheduler_->setSteadyCharge(s.barPace == PlayerSettings::BarPace::Steady);
    if (settingsDialog_) settingsDialog_->showKept();
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
