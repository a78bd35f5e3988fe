// The "New Game" dialog: how many play, their names and colours, a friction
// level each when "Friction Changes" is on, whether the walls are in play,
// and "Play", which sets up the game, opens the main window anew, shows the
// status window and starts the first turn. "Play" only hides the dialog;
// the next New command discards it.
#pragma once

#include <QWidget>
#include <array>

#include "model/GameState.h"
#include "records/NewGame.h"

class QButtonGroup;
class QCheckBox;
class QColorDialog;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace capzel::ui {

class CapzelApp;

class frmNewGame : public QWidget {
    Q_OBJECT
public:
    explicit frmNewGame(CapzelApp& app, QWidget* parent = nullptr);

    // The event handlers, by control.
    void optPlayers_Click(int i);
    void cmdColor_Click(int i);
    void Command1_Click();  // "RanAll"
    void chkFrict_Click();
    void cmdPlay_Click();

    int playersChosen() const { return PlayersChosen; }

    // The dialog's choices as "Play" would take them.
    NewGameSettings settings() const;

    // Controls, for the handlers above and for inspection. Index 1..8.
    QRadioButton* optPlayers(int i) const { return optPlayers_[std::size_t(i)]; }
    QLineEdit* txtName(int i) const { return txtName_[std::size_t(i)]; }
    QPushButton* cmdColor(int i) const { return cmdColor_[std::size_t(i)]; }
    QFrame* fraFriction(int i) const { return fraFriction_[std::size_t(i)]; }
    // Who plays row i: Human, or the computer at Novice, Club or Expert.
    QComboBox* cboSeat(int i) const { return cboSeat_[std::size_t(i)]; }
    // The option of `level` in frame i.
    QRadioButton* optFriction(int i, FrictionLevel level) const;
    QCheckBox* chkWalls() const { return chkWalls_; }
    QPushButton* chkFrict() const { return chkFrict_; }
    QPushButton* cmdPlay() const { return cmdPlay_; }
    QPushButton* Command1() const { return Command1_; }
    QColorDialog* cdlColor() const { return cdlColor_; }

    // Background colour of colour button i (a colour number).
    Color buttonColor(int i) const { return colors_[std::size_t(i)]; }
    // Background colour of the "Friction Changes" toggle.
    Color frictToggleColor() const { return frictColor_; }
    // Selected friction level of frame i.
    FrictionLevel frictionChoice(int i) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void buildPlayerRows();
    void buildFrictionFrame(int i);
    void buildButtons();
    void buildSeatChoices();
    void setButtonColor(int i, Color c);
    void setFrictColor(Color c);
    void selectNormal(int i);

    CapzelApp& app_;
    int PlayersChosen = 1;
    std::array<QRadioButton*, kMaxPlayers + 1> optPlayers_{};
    std::array<QLineEdit*, kMaxPlayers + 1> txtName_{};
    std::array<QPushButton*, kMaxPlayers + 1> cmdColor_{};
    std::array<QFrame*, kMaxPlayers + 1> fraFriction_{};
    std::array<QComboBox*, kMaxPlayers + 1> cboSeat_{};
    std::array<QButtonGroup*, kMaxPlayers + 1> frictionGroup_{};
    std::array<Color, kMaxPlayers + 1> colors_{};
    QCheckBox* chkWalls_ = nullptr;
    QPushButton* chkFrict_ = nullptr;
    QPushButton* cmdPlay_ = nullptr;
    QPushButton* Command1_ = nullptr;
    QColorDialog* cdlColor_ = nullptr;
    Color cdlColorValue_ = 0;  // the colour the colour dialog reports: black until one is chosen
    Color frictColor_ = 0;
};

}  // namespace capzel::ui
