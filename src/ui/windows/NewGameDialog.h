// The "New Game" dialog: how many play, their names and colours, a friction
// level each when "Friction Changes" is on, whether the walls are in play,
// and "Play", which sets up the game, opens the main window anew, shows the
// status window and starts the first turn. "Play" only hides the dialog;
// the next New command discards it. Beside the classic layout, a column of
// its own says who plays each row (a person or the computer). The whole
// dialog is shown at the player's size.
#pragma once

#include <QWidget>
#include <array>

#include "model/Friction.h"
#include "model/Game.h"
#include "records/NewGame.h"
#include "ui/windows/Twips.h"

class QButtonGroup;
class QCheckBox;
class QColorDialog;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace capzel::ui {

class GameHost;

class NewGameDialog : public QWidget {
    Q_OBJECT
public:
    explicit NewGameDialog(GameHost& app, QWidget* parent = nullptr);

    // The event handlers, by control.
    void choosePlayerCount(int i);
    void pickColor(int i);
    void randomizeAll();  // "RanAll"
    void toggleFrictionChanges();
    void startPlay();

    int playersChosen() const { return playersChosen_; }

    // The dialog's choices as "Play" would take them.
    NewGameSettings settings() const;

    // Controls, for the handlers above and for inspection. Index 1..8.
    QRadioButton* playerCountOption(int i) const { return playerCountOptions_[std::size_t(i)]; }
    QLineEdit* nameEdit(int i) const { return nameEdits_[std::size_t(i)]; }
    QPushButton* colorButton(int i) const { return colorButtons_[std::size_t(i)]; }
    QFrame* frictionFrame(int i) const { return frictionFrames_[std::size_t(i)]; }
    // Who plays row i: Human, or the computer at Novice, Club, Strong or
    // Expert; each item's data is its PlayerKind.
    QComboBox* seatChoice(int i) const { return seatChoices_[std::size_t(i)]; }
    // The option of `level` in frame i.
    QRadioButton* frictionOption(int i, FrictionLevel level) const;
    QCheckBox* wallsCheck() const { return wallsCheck_; }
    QPushButton* frictionToggle() const { return frictionToggle_; }
    QPushButton* playButton() const { return playButton_; }
    QPushButton* randomizeButton() const { return randomizeButton_; }
    QColorDialog* colorDialog() const { return colorDialog_; }

    // Background colour of colour button i (a colour number).
    Color buttonColor(int i) const { return colors_[std::size_t(i)]; }
    // Background colour of the "Friction Changes" toggle.
    Color frictionToggleColor() const { return frictionToggleColor_; }
    // Selected friction level of frame i.
    FrictionLevel frictionChoice(int i) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void initialize();
    void buildPlayerRows();
    void buildFrictionFrame(int i);
    void buildButtons();
    // Gives every control but the seat choices its tooltip.
    void addTips();
    void buildSeatChoices();
    void setButtonColor(int i, Color c);
    void setFrictionToggleColor(Color c);
    void selectNormal(int i);
    // Twips of the classic layout, and a type's pixels, at the dialog's zoom.
    QRect pxBox(int left, int top, int width, int height) const {
        return {ipx(left, zoom_), ipx(top, zoom_), ipx(width, zoom_), ipx(height, zoom_)};
    }
    int px(int pixels) const { return int(pixels * zoom_ + 0.5); }

    GameHost& app_;
    double zoom_ = 1.0;  // the player's size
    int playersChosen_ = 1;
    std::array<QRadioButton*, kMaxPlayers + 1> playerCountOptions_{};
    std::array<QLineEdit*, kMaxPlayers + 1> nameEdits_{};
    std::array<QPushButton*, kMaxPlayers + 1> colorButtons_{};
    std::array<QFrame*, kMaxPlayers + 1> frictionFrames_{};
    std::array<QComboBox*, kMaxPlayers + 1> seatChoices_{};
    std::array<QButtonGroup*, kMaxPlayers + 1> frictionGroup_{};
    std::array<Color, kMaxPlayers + 1> colors_{};
    QCheckBox* wallsCheck_ = nullptr;
    QPushButton* frictionToggle_ = nullptr;
    QPushButton* playButton_ = nullptr;
    QPushButton* randomizeButton_ = nullptr;
    QColorDialog* colorDialog_ = nullptr;
    Color chosenColor_ = 0;  // the colour the colour dialog reports: black until one is chosen
    Color frictionToggleColor_ = 0;
};

}  // namespace capzel::ui
