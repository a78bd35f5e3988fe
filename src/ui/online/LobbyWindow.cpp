#include "ui/online/LobbyWindow.h"

#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/online/OnlineEntries.h"

namespace capzel::ui {

using protocol::SeatPresence;
using protocol::SeatStatus;

LobbyWindow::LobbyWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("LobbyWindow"));
    setWindowTitle(QStringLiteral("Online Game"));

    code_ = new QLabel(this);
    code_->setObjectName(QStringLiteral("codeLabel"));
    code_->setTextFormat(Qt::PlainText);
    code_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont big = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    big.setPixelSize(36);
    big.setBold(true);
    big.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    code_->setFont(big);
    code_->setToolTip(QStringLiteral("The room's code: friends type it to join"));
    copy_ = new QPushButton(QStringLiteral("Copy"), this);
    copy_->setObjectName(QStringLiteral("copyButton"));
    copy_->setToolTip(QStringLiteral("Copy the invitation (the address and the room's code) to the clipboard:\n"
                                     "a friend pastes it into Join Online Game"));
    address_ = new QComboBox(this);
    address_->setObjectName(QStringLiteral("addressChoice"));
    address_->setToolTip(QStringLiteral("This computer's addresses that friends can reach: choose the one of the "
                                        "network they are on"));
    address_->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    table_ = new QTableWidget(0, ColumnCount, this);
    table_->setObjectName(QStringLiteral("seatTable"));
    table_->setHorizontalHeaderLabels({QStringLiteral("#"), QStringLiteral("Name"), QStringLiteral("Played by"),
                                       QStringLiteral("Status"), QString()});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setFocusPolicy(Qt::NoFocus);
    table_->setWordWrap(false);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);

    wait_ = new QLabel(QStringLiteral("The game begins when every seat is taken."), this);
    wait_->setObjectName(QStringLiteral("waitLabel"));
    leave_ = new QPushButton(QStringLiteral("Leave"), this);
    leave_->setObjectName(QStringLiteral("leaveButton"));

    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(new QLabel(QStringLiteral("Room code:"), this));
    codeRow->addWidget(code_);
    codeRow->addWidget(copy_);
    codeRow->addStretch();
    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(new QLabel(QStringLiteral("Invitation for friends:"), this));
    addressRow->addWidget(address_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(wait_, 1);
    bottom->addWidget(leave_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(codeRow);
    layout->addLayout(addressRow);
    layout->addWidget(table_, 1);
    layout->addLayout(bottom);
    resize(620, 380);

    connect(copy_, &QPushButton::clicked, this, [this] { QGuiApplication::clipboard()->setText(invitation()); });
    connect(leave_, &QPushButton::clicked, this, &LobbyWindow::leaveRequested);
    rebuild();
}

void LobbyWindow::setCode(const QString& code) {
    code_->setText(code);
    listInvitations();
}

void LobbyWindow::setAddresses(const QStringList& serverUrls) {
    servers_ = serverUrls;
    listInvitations();
}

void LobbyWindow::listInvitations() {
    const int chosen = std::max(0, address_->currentIndex());
    address_->clear();
    for (const QString& server : servers_) address_->addItem(invitationText(server, code_->text()));
    address_->setCurrentIndex(std::min(chosen, address_->count() - 1));
}

QString LobbyWindow::invitation() const {
    return address_->count() > 0 ? address_->currentText() : code_->text();
}

void LobbyWindow::setSeats(const std::vector<SeatStatus>& seats) {
    seats_ = seats;
    rebuild();
}

void LobbyWindow::setHost(bool host) {
    if (host_ == host) return;
    host_ = host;
    rebuild();
}

QString LobbyWindow::whoText(const SeatStatus& seat) {
    if (seat.presence == SeatPresence::Open) return QStringLiteral("open");
    if (seat.kind == PlayerKind::Human && seat.presence != SeatPresence::Computer) return QStringLiteral("person");
    const PlayerKind level = seat.kind == PlayerKind::Human ? PlayerKind::Novice : seat.kind;
    return QStringLiteral("computer, %1").arg(QString::fromLatin1(playerKindName(level)));
}

QString LobbyWindow::presenceText(const SeatStatus& seat) {
    switch (seat.presence) {
    case SeatPresence::Connected: return QStringLiteral("connected");
    case SeatPresence::Waiting: return QStringLiteral("waiting for %1…").arg(QString::fromStdString(seat.name));
    case SeatPresence::Computer: return QStringLiteral("computer");
    case SeatPresence::Open: break;
    }
    return QStringLiteral("open");
}

QPushButton* LobbyWindow::handButton(int row) const {
    return qobject_cast<QPushButton*>(table_->cellWidget(row, ActionColumn));
}

void LobbyWindow::rebuild() {
    table_->clearContents();
    table_->setRowCount(int(seats_.size()));
    for (int row = 0; row < int(seats_.size()); ++row) {
        const SeatStatus& s = seats_[std::size_t(row)];
        const QString texts[] = {QString::number(s.seat), QString::fromStdString(s.name), whoText(s), presenceText(s)};
        for (int c = 0; c < ActionColumn; ++c) table_->setItem(row, c, new QTableWidgetItem(texts[c]));
        if (host_ && s.presence == SeatPresence::Waiting) {
            auto* hand = new QPushButton(QStringLiteral("Hand to Computer"));
            hand->setToolTip(QStringLiteral("Let the computer play this seat instead of waiting"));
            const int seat = s.seat;
            connect(hand, &QPushButton::clicked, this, [this, seat] { emit handToComputer(seat); });
            table_->setCellWidget(row, ActionColumn, hand);
        }
    }
    table_->setColumnHidden(ActionColumn, !host_);
    wait_->setVisible(std::any_of(seats_.begin(), seats_.end(),
                                  [](const SeatStatus& s) { return s.presence == SeatPresence::Open; }));
}

}  // namespace capzel::ui
