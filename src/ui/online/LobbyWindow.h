// The lobby of an online room before its game begins: the room's code large,
// the invitation to give friends (the server's address at each of this
// computer's addresses others can reach, with the room's code) and Copy,
// which puts the invitation chosen on the clipboard, and every seat with its number,
// name, who plays it and whether they are here. The host may hand a seat
// whose player is awaited to the computer. While a seat is open it says that
// the game begins when every seat is taken.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "protocol/Messages.h"

class QComboBox;
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
    // The servers' addresses (ws://host:port) friends may use; the
    // invitations follow the code.
    void setAddresses(const QStringList& serverUrls);
    // The invitation Copy gives.
    QString invitation() const;
    void setSeats(const std::vector<protocol::SeatStatus>& seats);
    // The host sees "Hand to Computer" on a seat whose player is awaited.
    void setHost(bool host);

    // What a seat's cells say: who plays it, and whether they are here.
    static QString whoText(const protocol::SeatStatus& seat);
    static QString presenceText(const protocol::SeatStatus& seat);

    QLabel* codeLabel() const { return code_; }
    QComboBox* addressChoice() const { return address_; }
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
    void listInvitations();

    QLabel* code_ = nullptr;
    QComboBox* address_ = nullptr;
    QStringList servers_;
    QPushButton* copy_ = nullptr;
    QPushButton* leave_ = nullptr;
    QLabel* wait_ = nullptr;
    QTableWidget* table_ = nullptr;
    std::vector<protocol::SeatStatus> seats_;
    bool host_ = false;
};

}  // namespace capzel::ui
