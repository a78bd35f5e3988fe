// "Host Online Game": the port the game listens on, whether the walls are in
// play, and 1 to 8 seats, each with a name and who sits there: a person at
// this computer, a remote player who joins through the network, or the
// computer at one of its levels. At least one seat is played here. It opens
// with the last choices taken, and keeps the new ones when accepted.
#pragma once

#include <QDialog>
#include <array>

#include "model/Board.h"
#include "ui/online/OnlineChoices.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace capzel::ui {

class HostOnlineDialog : public QDialog {
    Q_OBJECT
public:
    explicit HostOnlineDialog(QWidget* parent = nullptr);

    // The choices as shown (names trimmed; a remote seat's name empty).
    HostChoices choices() const;
    void setChoices(const HostChoices& choices);

    // True when OK may be pressed: a seat here, and every seat played here
    // or by the computer named.
    bool entriesValid() const;

    void done(int result) override;

    // Controls, for inspection. Seats 1..8.
    QSpinBox* portBox() const { return port_; }
    QCheckBox* wallsCheck() const { return walls_; }
    QSpinBox* seatCountBox() const { return seatCount_; }
    QLineEdit* nameEdit(int seat) const { return rows_[std::size_t(seat)].name; }
    QComboBox* whoChoice(int seat) const { return rows_[std::size_t(seat)].who; }
    QComboBox* levelChoice(int seat) const { return rows_[std::size_t(seat)].level; }
    QPushButton* okButton() const;
    QLabel* problemLabel() const { return problem_; }

private:
    struct SeatRow {
        QLabel* number = nullptr;
        QLineEdit* name = nullptr;
        QComboBox* who = nullptr;
        QComboBox* level = nullptr;
    };
    void buildSeatRow(int seat, QGridLayout* grid);
    void updateRows();
    HostSeat::Who whoOf(int seat) const;

    QSpinBox* port_ = nullptr;
    QCheckBox* walls_ = nullptr;
    QSpinBox* seatCount_ = nullptr;
    std::array<SeatRow, kMaxPlayers + 1> rows_{};
    QLabel* problem_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace capzel::ui
