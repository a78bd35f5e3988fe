// The lobby of an online room before its game begins: the room's code large
// and copyable, the address to give friends, and every seat with its number,
// name, who plays it and whether they are here. The host may hand a seat
// whose player is awaited to the computer. While a seat is open it says that
// the game begins when every seat is taken.
#pragma once

#include <QString>
#include <QWidget>
#include <vector>

#include "protocol/Messages.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace capzel::ui {

class LobbyWindow : public QWidget {
    Q_OBJECT
public:
    enum Column { NumberColumn = 0, NameColumn, WhoColumn, PresenceColumn, ActionColumn, ColumnCount };

    explicit LobbyWindow(QWidget* parent = nullptr);

    void setCode(const QString& code);
    void setAddress(const QString& address);
    void setSeats(const std::vector<protocol::SeatStatus>& seats);
    // The host sees "Hand to Computer" on a seat whose player is awaited.
    void setHost(bool host);

    // What a seat's cells say: who plays it, and whether they are here.
    static QString whoText(const protocol::SeatStatus& seat);
    static QString presenceText(const protocol::SeatStatus& seat);

    QLabel* codeLabel() const { return code_; }
    QLabel* addressLabel() const { return address_; }
    QPushButton* copyButton() const { return copy_; }
    QPushButton* leaveButton() const { return leave_; }
    QLabel* waitLabel() const { return wait_; }
    QTableWidget* seatTable() const { return table_; }
    // The "Hand to Computer" button of a seat's row, or null.
    QPushButton* handButton(int row) const;

signals:
    void handToComputer(int seat);
    void leaveRequested();

private:
    void rebuild();

    QLabel* code_ = nullptr;
    QLabel* address_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* leave_ = nullptr;
    QLabel* wait_ = nullptr;
    QTableWidget* table_ = nullptr;
    std::vector<protocol::SeatStatus> seats_;
    bool host_ = false;
};

}  // namespace capzel::ui
