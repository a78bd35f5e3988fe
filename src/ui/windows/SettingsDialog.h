// The player's comforts in one window (desktop/PlayerSettings.h): how the
// rules' messages show, the size of the windows, sound effects and their
// volume, the music's volume and mute, the aim line, the power bar's pace,
// and the helpers, in a group of their own. It does not wait for a confirmation: every change of a control is
// kept and applied at once through the host; Close only closes the window.
#pragma once

#include <QDialog>

#include "desktop/PlayerSettings.h"

class QCheckBox;
class QComboBox;
class QSlider;

namespace capzel::ui {

class GameHost;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(GameHost& host, QWidget* parent);

    // The controls show the settings as the host keeps them now.
    void showKept();

    // The controls, for a test that turns them.
    QComboBox* ruleMessagesBox() const { return ruleMessages_; }
    QComboBox* sizeBox() const { return size_; }
    QCheckBox* soundEffectsBox() const { return soundEffects_; }
    QSlider* effectsVolumeSlider() const { return effectsVolume_; }
    QSlider* musicVolumeSlider() const { return musicVolume_; }
    QCheckBox* musicMutedBox() const { return musicMuted_; }
    QComboBox* aimLineBox() const { return aimLine_; }
    QComboBox* barPaceBox() const { return barPace_; }
    QCheckBox* fieldHintsBox() const { return fieldHints_; }
    QCheckBox* statusMarksBox() const { return statusMarks_; }
    QCheckBox* endChartBox() const { return endChart_; }
    QCheckBox* buttonIconsBox() const { return buttonIcons_; }

private:
    // What the controls show, over what the host keeps of the rest.
    PlayerSettings chosen() const;
    void apply();
    void offerSizes();

    GameHost& host_;
    bool showing_ = false;  // the controls are being set from the kept values
    QComboBox* ruleMessages_;
    QComboBox* size_;
    QCheckBox* soundEffects_;
    QSlider* effectsVolume_;
    QSlider* musicVolume_;
    QCheckBox* musicMuted_;
    QComboBox* aimLine_;
    QComboBox* barPace_;
    QCheckBox* fieldHints_;
    QCheckBox* statusMarks_;
    QCheckBox* endChart_;
    QCheckBox* buttonIcons_;
};

}  // namespace capzel::ui
