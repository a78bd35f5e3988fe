#include "ui/online/HostOnlineDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/online/OnlineEntries.h"
#include "ui/windows/NameLengthValidator.h"

namespace capzel::ui {

namespace {

using Who = HostSeat::Who;

// The texts of the seat choices, in the order of HostSeat::Who.
const char* const kWhoNames[] = {"This computer", "Remote player", "Computer"};
const char* const kWhoTips[] = {"A person plays this seat here, taking turns at this computer",
                                "An open seat: a player joins it through the network, bringing a name",
                                "The computer plays this seat at the level beside it"};

}  // namespace

HostOnlineDialog::HostOnlineDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HostOnlineDialog"));
    setWindowTitle(QStringLiteral("Host Online Game"));

    port_ = new QSpinBox(this);
    port_->setObjectName(QStringLiteral("portBox"));
    port_->setRange(1, 65535);
    port_->setValue(kDefaultOnlinePort);
    port_->setToolTip(QStringLiteral("The network port the game listens on; friends connect to it"));
    walls_ = new QCheckBox(QStringLiteral("Walls"), this);
    walls_->setObjectName(QStringLiteral("wallsCheck"));
    walls_->setChecked(true);
    seatCount_ = new QSpinBox(this);
    seatCount_->setObjectName(QStringLiteral("seatCountBox"));
    seatCount_->setRange(1, kMaxPlayers);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Port:"), port_);
    form->addRow(QStringLiteral("Players:"), seatCount_);
    form->addRow(QString(), walls_);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Name"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Played by"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Level"), this), 0, 3);
    for (int seat = 1; seat <= kMaxPlayers; ++seat) buildSeatRow(seat, grid);

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("problemLabel"));
    problem_->setTextFormat(Qt::PlainText);
    problem_->setWordWrap(true);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    okButton()->setText(QStringLiteral("Host"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(grid);
    layout->addWidget(problem_);
    layout->addWidget(buttons_);

    connect(seatCount_, &QSpinBox::valueChanged, this, &HostOnlineDialog::updateRows);
    setChoices(loadHostChoices());
}

void HostOnlineDialog::buildSeatRow(int seat, QGridLayout* grid) {
    SeatRow& row = rows_[std::size_t(seat)];
    row.number = new QLabel(QString::number(seat), this);
    row.name = new QLineEdit(this);
    row.name->setObjectName(QStringLiteral("nameEdit%1").arg(seat));
    row.name->setValidator(new NameLengthValidator(row.name));
    row.who = new QComboBox(this);
    row.who->setObjectName(QStringLiteral("whoChoice%1").arg(seat));
    for (int w = 0; w < 3; ++w) {
        row.who->addItem(QString::fromLatin1(kWhoNames[w]), w);
        row.who->setItemData(w, QString::fromLatin1(kWhoTips[w]), Qt::ToolTipRole);
    }
    row.level = new QComboBox(this);
    row.level->setObjectName(QStringLiteral("levelChoice%1").arg(seat));
    for (PlayerKind k : kPlayerKinds)
        if (k != PlayerKind::Human) row.level->addItem(QString::fromLatin1(playerKindName(k)), int(k));
    grid->addWidget(row.number, seat, 0);
    grid->addWidget(row.name, seat, 1);
    grid->addWidget(row.who, seat, 2);
    grid->addWidget(row.level, seat, 3);
    connect(row.name, &QLineEdit::textChanged, this, &HostOnlineDialog::updateRows);
    connect(row.who, &QComboBox::currentIndexChanged, this, &HostOnlineDialog::updateRows);
}

QPushButton* HostOnlineDialog::okButton() const { return buttons_->button(QDialogButtonBox::Ok); }

HostSeat::Who HostOnlineDialog::whoOf(int seat) const { return Who(rows_[std::size_t(seat)].who->currentData().toInt()); }

void HostOnlineDialog::setChoices(const HostChoices& c) {
    port_->setValue(c.port);
    walls_->setChecked(c.walls);
    const int n = std::clamp(int(c.seats.size()), 1, kMaxPlayers);
    for (int seat = 1; seat <= kMaxPlayers; ++seat) {
        const HostSeat s = seat <= int(c.seats.size()) ? c.seats[std::size_t(seat - 1)] : HostSeat{};
        SeatRow& row = rows_[std::size_t(seat)];
        row.name->setText(QString::fromStdString(s.name));
        row.who->setCurrentIndex(row.who->findData(int(s.who)));
        const int level = row.level->findData(int(s.kind));
        if (level >= 0) row.level->setCurrentIndex(level);
    }
    seatCount_->setValue(n);
    updateRows();
}

HostChoices HostOnlineDialog::choices() const {
    HostChoices c{quint16(port_->value()), walls_->isChecked(), {}};
    for (int seat = 1; seat <= seatCount_->value(); ++seat) {
        const SeatRow& row = rows_[std::size_t(seat)];
        HostSeat s;
        s.who = whoOf(seat);
        if (s.who != Who::Remote) s.name = row.name->text().trimmed().toStdString();
        if (s.who == Who::Computer) s.kind = PlayerKind(row.level->currentData().toInt());
        c.seats.push_back(s);
    }
    return c;
}

bool HostOnlineDialog::entriesValid() const { return problem_->text().isEmpty(); }

// Shows the rows in use, the level only for the computer's seats, the name
// box only where a name is given here, and what still keeps OK greyed.
void HostOnlineDialog::updateRows() {
    const int n = seatCount_->value();
    bool here = false;
    int unnamed = 0;
    for (int seat = 1; seat <= kMaxPlayers; ++seat) {
        const SeatRow& row = rows_[std::size_t(seat)];
        const bool used = seat <= n;
        for (QWidget* w : {static_cast<QWidget*>(row.number), static_cast<QWidget*>(row.name),
                           static_cast<QWidget*>(row.who), static_cast<QWidget*>(row.level)})
            w->setVisible(used);
        const Who who = whoOf(seat);
        row.level->setEnabled(who == Who::Computer);
        row.name->setEnabled(who != Who::Remote);
        row.name->setPlaceholderText(who == Who::Remote ? QStringLiteral("whoever joins") : QString());
        if (!used) continue;
        here = here || who == Who::ThisComputer;
        if (who != Who::Remote && !isPlayerName(row.name->text())) ++unnamed;
    }
    QString problem;
    if (!here) problem = QStringLiteral("At least one seat must be played on this computer.");
    else if (unnamed > 0) problem = QStringLiteral("Every seat played here or by the computer needs a name.");
    problem_->setText(problem);
    problem_->setVisible(!problem.isEmpty());
    okButton()->setEnabled(problem.isEmpty());
}

void HostOnlineDialog::done(int result) {
    if (result == Accepted) {
        if (!entriesValid()) return;
        saveHostChoices(choices());
    }
    QDialog::done(result);
}

}  // namespace capzel::ui
